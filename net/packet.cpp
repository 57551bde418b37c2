#include "net/packet.h"

#include <cstring>

#include "net/link.h"
#include "net/overloaded.h"

namespace zelkar::net {

namespace {

constexpr uint8_t kMagic0 = 'Z', kMagic1 = 'N';
using Type = PacketType;

class Writer {
 public:
  explicit Writer(std::vector<uint8_t>& out) : out_(out) {}
  void u8(uint8_t v) { out_.push_back(v); }
  void u16(uint16_t v) { u8(uint8_t(v)), u8(uint8_t(v >> 8)); }
  void u32(uint32_t v) { u16(uint16_t(v)), u16(uint16_t(v >> 16)); }
  void u64(uint64_t v) { u32(uint32_t(v)), u32(uint32_t(v >> 32)); }
  void text(const std::string& s) {
    const std::size_t n = s.size() < kMaxTextBytes ? s.size() : kMaxTextBytes;
    u8(uint8_t(n));
    out_.insert(out_.end(), s.begin(), s.begin() + std::ptrdiff_t(n));
  }

 private:
  std::vector<uint8_t>& out_;
};

// Every read checks what is left; the first failure sticks, so a caller
// checks ok() once at the end.
class Reader {
 public:
  explicit Reader(std::span<const uint8_t> in) : in_(in) {}
  uint8_t u8() {
    if (pos_ >= in_.size()) return fail();
    return in_[pos_++];
  }
  uint16_t u16() { return uint16_t(u8() | u8() << 8); }
  uint32_t u32() {
    const uint32_t lo = u16();
    return lo | uint32_t(u16()) << 16;
  }
  uint64_t u64() {
    const uint64_t lo = u32();
    return lo | uint64_t(u32()) << 32;
  }
  bool flag() {
    const uint8_t v = u8();
    if (v > 1) fail();
    return v == 1;
  }
  std::string text() {
    const std::size_t n = u8();
    if (n > kMaxTextBytes || in_.size() - pos_ < n) return fail(), std::string();
    std::string s(reinterpret_cast<const char*>(in_.data() + pos_), n);
    pos_ += n;
    return s;
  }
  uint8_t fail() {
    ok_ = false;
    pos_ = in_.size();
    return 0;
  }
  bool ok() const { return ok_; }
  bool atEnd() const { return pos_ == in_.size(); }

 private:
  std::span<const uint8_t> in_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

void writeEvent(Writer& w, const Event& e) {
  w.u8(uint8_t(e.kind));
  switch (e.kind) {
    case Event::Kind::KeyDown:
      w.u16(uint16_t(e.keyCode)), w.u8(uint8_t(e.shift));
      break;
    case Event::Kind::KeyUp:
      w.u16(uint16_t(e.keyCode));
      break;
    case Event::Kind::Start:
      w.u8(e.given), w.u8(e.friction), w.text(e.text);
      break;
    case Event::Kind::Answer:
      w.u8(e.yes);
      break;
    case Event::Kind::Done:
      break;
  }
}

// Key codes are Windows virtual-key codes (1..254); shift states combine
// Shift 1, Ctrl 2 and Alt 4.
std::optional<Event> readEvent(Reader& r) {
  Event e;
  const uint8_t kind = r.u8();
  switch (kind) {
    case uint8_t(Event::Kind::KeyDown):
      e.kind = Event::Kind::KeyDown;
      e.keyCode = int16_t(r.u16());
      e.shift = int16_t(r.u8());
      if (e.keyCode < 1 || e.keyCode > 254 || e.shift > 7) return std::nullopt;
      break;
    case uint8_t(Event::Kind::KeyUp):
      e.kind = Event::Kind::KeyUp;
      e.keyCode = int16_t(r.u16());
      if (e.keyCode < 1 || e.keyCode > 254) return std::nullopt;
      break;
    case uint8_t(Event::Kind::Start):
      e.kind = Event::Kind::Start;
      e.given = r.flag(), e.friction = r.flag(), e.text = r.text();
      if (!e.given && !e.text.empty()) return std::nullopt;
      break;
    case uint8_t(Event::Kind::Answer):
      e.kind = Event::Kind::Answer;
      e.yes = r.flag();
      break;
    case uint8_t(Event::Kind::Done):
      e.kind = Event::Kind::Done;
      break;
    default:
      return std::nullopt;
  }
  if (!r.ok()) return std::nullopt;
  return e;
}

}  // namespace

std::size_t eventBytes(const Event& e) {
  std::vector<uint8_t> bytes;
  Writer w(bytes);
  writeEvent(w, e);
  return bytes.size();
}

PacketType packetType(const Body& body) {
  return std::visit(Overloaded{
                        [](const Hello&) { return Type::Hello; },
                        [](const Welcome&) { return Type::Welcome; },
                        [](const Refuse&) { return Type::Refuse; },
                        [](const Inputs&) { return Type::Inputs; },
                        [](const Hashes&) { return Type::Hashes; },
                        [](const Bye&) { return Type::Bye; },
                    },
                    body);
}

std::vector<uint8_t> writePacket(const Body& body, uint8_t version) {
  std::vector<uint8_t> out;
  Writer w(out);
  w.u8(kMagic0), w.u8(kMagic1), w.u8(version), w.u8(uint8_t(packetType(body)));
  std::visit(Overloaded{
                 [&](const Hello& h) { w.text(h.code), w.u8(h.side); },
                 [&](const Welcome& wl) {
                   w.u8(wl.hostSide), w.u16(uint16_t(wl.keypadMode));
                   w.u16(uint16_t(wl.tickIntervalMs)), w.u16(uint16_t(wl.soundOn));
                   w.u32(wl.loadSeed);
                 },
                 [&](const Refuse& rf) { w.u8(uint8_t(rf.reason)); },
                 [&](const Inputs& in) {
                   w.u32(in.ack), w.u32(in.hashAck), w.u32(in.frame);
                   w.u8(uint8_t(in.advantage)), w.u32(in.first);
                   // Most frames carry nothing: only those with events are
                   // written, each after its place in the run.
                   w.u8(uint8_t(in.frames.size()));
                   std::size_t busy = 0;
                   for (const FrameEvents& f : in.frames) busy += f.empty() ? 0 : 1;
                   w.u8(uint8_t(busy));
                   for (std::size_t i = 0; i < in.frames.size(); ++i) {
                     const FrameEvents& f = in.frames[i];
                     if (f.empty()) continue;
                     w.u8(uint8_t(i)), w.u8(uint8_t(f.size()));
                     for (const Event& e : f) writeEvent(w, e);
                   }
                 },
                 [&](const Hashes& hs) {
                   w.u32(hs.first), w.u8(uint8_t(hs.hashes.size()));
                   for (uint64_t h : hs.hashes) w.u64(h);
                 },
                 [&](const Bye&) {},
             },
             body);
  return out;
}

std::optional<Packet> readPacket(std::span<const uint8_t> bytes) {
  if (bytes.size() > Link::kMaxPacketBytes) return std::nullopt;
  Reader r(bytes);
  if (r.u8() != kMagic0 || r.u8() != kMagic1) return std::nullopt;
  Packet p;
  p.version = r.u8();
  const uint8_t type = r.u8();
  if (!r.ok()) return std::nullopt;
  if (p.version != kProtocolVersion) {
    // Only the version itself is read from another version's greeting.
    if (type == uint8_t(Type::Hello)) return p.body = Hello{}, p;
    if (type == uint8_t(Type::Welcome)) return p.body = Welcome{}, p;
    if (type != uint8_t(Type::Refuse)) return std::nullopt;
  }
  switch (type) {
    case uint8_t(Type::Hello): {
      Hello h;
      h.code = r.text(), h.side = r.u8();
      if (h.side > 2) return std::nullopt;
      p.body = std::move(h);
      break;
    }
    case uint8_t(Type::Welcome): {
      Welcome w;
      w.hostSide = r.u8(), w.keypadMode = int16_t(r.u16()), w.tickIntervalMs = int16_t(r.u16());
      w.soundOn = int16_t(r.u16()), w.loadSeed = r.u32();
      // A tick interval the settings window could never give (it takes
      // whole milliseconds from 1) would stall or flood the frame clock.
      if (w.hostSide > 1 || w.tickIntervalMs < 1 || w.tickIntervalMs > 10000) return std::nullopt;
      p.body = w;
      break;
    }
    case uint8_t(Type::Refuse): {
      const uint8_t reason = r.u8();
      if (reason < uint8_t(RefuseReason::WrongVersion) ||
          reason > uint8_t(RefuseReason::TooManyTries))
        return std::nullopt;
      p.body = Refuse{RefuseReason(reason)};
      break;
    }
    case uint8_t(Type::Inputs): {
      Inputs in;
      in.ack = r.u32(), in.hashAck = r.u32(), in.frame = r.u32(), in.advantage = int8_t(r.u8()),
      in.first = r.u32();
      const std::size_t n = r.u8();
      if (n > kMaxFramesPerPacket || in.hashAck == 0) return std::nullopt;
      in.frames.resize(n);
      const std::size_t busy = r.u8();
      if (busy > n) return std::nullopt;
      int last = -1;
      for (std::size_t k = 0; k < busy; ++k) {
        // Places rise strictly and each written frame holds an event, so
        // every run has one way to be written.
        const int at = r.u8();
        const std::size_t count = r.u8();
        if (at <= last || std::size_t(at) >= n || count == 0 || count > kMaxEventsPerFrame)
          return std::nullopt;
        last = at;
        for (std::size_t e = 0; e < count; ++e) {
          std::optional<Event> ev = readEvent(r);
          if (!ev) return std::nullopt;
          in.frames[std::size_t(at)].push_back(std::move(*ev));
        }
      }
      p.body = std::move(in);
      break;
    }
    case uint8_t(Type::Hashes): {
      Hashes h;
      h.first = r.u32();
      const std::size_t n = r.u8();
      if (n == 0 || n > kMaxHashesPerPacket || h.first == 0) return std::nullopt;
      for (std::size_t i = 0; i < n; ++i) h.hashes.push_back(r.u64());
      p.body = std::move(h);
      break;
    }
    case uint8_t(Type::Bye):
      p.body = Bye{};
      break;
    default:
      return std::nullopt;
  }
  // Trailing bytes mean a writer this reader does not know: not trusted.
  if (!r.ok() || !r.atEnd()) return std::nullopt;
  return p;
}

}  // namespace zelkar::net
