// The packet reader on whatever a peer could send: a packet is either
// refused or read into values that write back to the very same bytes, so
// nothing the reader accepts can mean two things. (What a session does
// with packets that read well but lie is tested with a hand-made peer.)
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "net/packet.h"

namespace {

// abort() is what libFuzzer reports as a finding, with the input saved.
void require(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace zelkar::net;
  const std::optional<Packet> p = readPacket(std::span<const uint8_t>(data, size));
  if (!p) return 0;
  if (const auto* in = std::get_if<Inputs>(&p->body)) {
    require(in->frames.size() <= kMaxFramesPerPacket);
    for (const FrameEvents& f : in->frames) require(f.size() <= kMaxEventsPerFrame);
  }
  if (p->version != kProtocolVersion) {
    // Of another version only the greetings and refusals read, and of
    // those only what every version keeps.
    require(std::holds_alternative<Hello>(p->body) || std::holds_alternative<Welcome>(p->body) ||
            std::holds_alternative<Refuse>(p->body));
    return 0;
  }
  const std::vector<uint8_t> again = writePacket(p->body);
  require(again.size() == size && std::equal(again.begin(), again.end(), data));
  return 0;
}
