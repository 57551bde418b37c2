// The packet reader and the session behind it, on whatever a peer could
// send: a packet is either refused or read into values that write back to
// the very same bytes; and a session fed such packets after a proper
// greeting never fails, whatever they say.
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <span>
#include <vector>

#include "net/packet.h"
#include "net/session.h"

namespace {

// abort() is what libFuzzer reports as a finding, with the input saved.
void require(bool ok) {
  if (!ok) std::abort();
}

// A link whose peer says exactly what the fuzzer wrote.
class ScriptedLink final : public zelkar::net::Link {
 public:
  std::deque<std::vector<uint8_t>> incoming;
  void send(zelkar::net::Channel, std::span<const uint8_t>) override {}
  bool receive(std::vector<uint8_t>& out) override {
    if (incoming.empty()) return false;
    out = std::move(incoming.front());
    incoming.pop_front();
    return true;
  }
  zelkar::net::LinkState state() const override { return zelkar::net::LinkState::Connected; }
  void service(int64_t) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace zelkar::net;
  const std::span<const uint8_t> bytes(data, size);
  const std::optional<Packet> p = readPacket(bytes);
  if (p && p->version == kProtocolVersion) {
    const std::vector<uint8_t> again = writePacket(p->body);
    require(again.size() == size && std::equal(again.begin(), again.end(), data));
  }

  // The same bytes as a run of packets, each led by its length byte, to a
  // host that has just greeted its joiner.
  ScriptedLink link;
  SessionConfig config;
  config.code = "F";
  link.incoming.push_back(writePacket(Hello{"F", 2}));
  for (std::size_t at = 0; at < size;) {
    const std::size_t n = std::min<std::size_t>(data[at], size - at - 1);
    link.incoming.emplace_back(data + at + 1, data + at + 1 + n);
    at += 1 + n;
  }
  Session host(link, config);
  for (int64_t now = 0; now <= 200000; now += 10000) host.poll(now);
  const SessionStats& s = host.stats();
  require(s.maxRollbackFrames <= kMaxFramesAhead);
  require(host.phase() != Phase::WaitingForPeer);
  return 0;
}
