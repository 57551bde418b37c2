// The meeting point's reader and rules on whatever a stranger could send:
// a message either is refused or writes back to the very same bytes, and
// no reply is ever larger than the datagram that caused it.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "meet/protocol.h"
#include "meet/server.h"

namespace {

void require(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace zelkar::meet;
  const std::span<const uint8_t> in(data, size);
  if (const auto m = readMessage(in)) {
    const Bytes again = writeMessage(*m);
    require(size == again.size() && std::equal(again.begin(), again.end(), data));
  }
  // The same bytes as a stream of datagrams from a few senders: the first
  // byte of each chunk picks the sender and the chunk's length.
  uint64_t counter = 1;
  Server server(
      Limits{}, [&counter] { return counter++ * 0x9E3779B97F4A7C15ull; },
      [](const std::string&) {});
  // With a relay offered, so that the relay logins' rules are read too.
  server.offerRelay(
      {{0xC6120001u, 3478}, "fuzz-secret", 3600, [] { return int64_t(1'700'000'000); }});
  int64_t nowMs = 0;
  for (std::size_t at = 0; at < size;) {
    const uint8_t head = data[at++];
    const std::size_t n = std::min<std::size_t>(size - at, head & 1 ? kMessageBytes : head);
    const Address from{0xC6120000u + (head >> 5), uint16_t(1000 + (head >> 5))};
    const auto out = server.handle(from, in.subspan(at, n), nowMs);
    if (out) require(out->size() <= n);
    at += n;
    nowMs += head;
    if (head % 7 == 0) server.sweep(nowMs);
  }
  return 0;
}
