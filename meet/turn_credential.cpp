#include "meet/turn_credential.h"

#include <nettle/base64.h>
#include <nettle/hmac.h>
#include <nettle/md5.h>

namespace zelkar::meet {

std::array<uint8_t, 20> hmacSha1(std::span<const uint8_t> key, std::span<const uint8_t> data) {
  hmac_sha1_ctx ctx;
  hmac_sha1_set_key(&ctx, key.size(), key.data());
  hmac_sha1_update(&ctx, data.size(), data.data());
  std::array<uint8_t, 20> out{};
  hmac_sha1_digest(&ctx, out.size(), out.data());
  return out;
}

std::array<uint8_t, 16> md5(std::string_view text) {
  md5_ctx ctx;
  md5_init(&ctx);
  md5_update(&ctx, text.size(), reinterpret_cast<const uint8_t*>(text.data()));
  std::array<uint8_t, 16> out{};
  md5_digest(&ctx, out.size(), out.data());
  return out;
}

std::string base64(std::span<const uint8_t> bytes) {
  std::string out(BASE64_ENCODE_RAW_LENGTH(bytes.size()), '\0');
  base64_encode_raw(out.data(), bytes.size(), bytes.data());
  return out;
}

TurnCredential turnRestCredential(std::string_view secret, int64_t expiryUnixSeconds,
                                  std::string_view name) {
  TurnCredential c;
  c.username = std::to_string(expiryUnixSeconds) + ":" + std::string(name);
  const auto key = std::span(reinterpret_cast<const uint8_t*>(secret.data()), secret.size());
  const auto data =
      std::span(reinterpret_cast<const uint8_t*>(c.username.data()), c.username.size());
  c.password = base64(hmacSha1(key, data));
  return c;
}

}  // namespace zelkar::meet
