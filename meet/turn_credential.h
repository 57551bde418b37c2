// Short-lived relay credentials by the TURN server's shared-secret scheme:
// whoever knows the secret (the meeting point and the relay) can mint a
// login that stops working at a given time, so no account list is kept and
// a leaked login is worth little. username = "EXPIRY:NAME" (EXPIRY in Unix
// seconds), password = base64(HMAC-SHA1(secret, username)).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zelkar::meet {

struct TurnCredential {
  std::string username;
  std::string password;
  bool operator==(const TurnCredential&) const = default;
};

TurnCredential turnRestCredential(std::string_view secret, int64_t expiryUnixSeconds,
                                  std::string_view name);

// The digests and the encoding the relay protocol needs, from nettle.
std::array<uint8_t, 20> hmacSha1(std::span<const uint8_t> key, std::span<const uint8_t> data);
std::array<uint8_t, 16> md5(std::string_view text);
std::string base64(std::span<const uint8_t> bytes);

}  // namespace zelkar::meet
