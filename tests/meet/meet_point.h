// A meeting point in the test's own process, on a hand-set clock, and the
// messages the tests send it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "meet/protocol.h"
#include "meet/server.h"

namespace zelkar::meet::testing {

constexpr Address kHost{0xC6120002, 40000};    // 198.18.0.2, the host's router
constexpr Address kJoiner{0xC6120003, 50000};  // 198.18.0.3, the joiner's router
constexpr Address kHostLan{0xC6130102, 41830};
constexpr Address kJoinerLan{0xC6130202, 41830};

inline Message message(Kind kind, uint64_t nonce, std::string code = {}, Address local = {}) {
  Message m;
  m.kind = kind;
  m.nonce = nonce;
  m.code = std::move(code);
  m.local = local;
  return m;
}

// Its random numbers are 0x0101..01, 0x0202..02, ...; its log is kept.
struct Point {
  Limits limits;
  std::vector<std::string> log;
  uint64_t next = 0;
  Server server{limits, [this] { return ++next * 0x0101010101010101ull; },
                [this](const std::string& l) { log.push_back(l); }};

  explicit Point(Limits l = {}) : limits(l) {}
  std::optional<Message> ask(const Address& from, const Message& m, int64_t nowMs = 0) {
    const auto out = server.handle(from, writeMessage(m), nowMs);
    return out ? readMessage(*out) : std::nullopt;
  }
};

}  // namespace zelkar::meet::testing
