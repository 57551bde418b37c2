// The relay protocol's byte work: digests against published vectors, the
// shared-secret login, integrity, and messages that lie about their
// length.
#include "net/turn_message.h"

#include <gtest/gtest.h>

#include "meet/turn_credential.h"
#include "net/turn_url.h"

namespace zelkar::net {
namespace {

using meet::hmacSha1;
using meet::md5;
using meet::TurnCredential;
using meet::turnRestCredential;

std::string hex(std::span<const uint8_t> bytes) {
  std::string out;
  for (uint8_t b : bytes) {
    static const char* const kDigits = "0123456789abcdef";
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

std::span<const uint8_t> bytesOf(std::string_view s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

TEST(TurnCredential, DigestsAndSharedSecretLogin) {
  // HMAC-SHA1 and MD5 published test vectors.
  EXPECT_EQ(hex(hmacSha1(bytesOf("Jefe"), bytesOf("what do ya want for nothing?"))),
            "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79");
  EXPECT_EQ(hex(md5("")), "d41d8cd98f00b204e9800998ecf8427e");
  // base64(HMAC-SHA1("north-wind", "1700000000:alice")), computed apart
  // with openssl dgst -sha1 -hmac.
  EXPECT_EQ(turnRestCredential("north-wind", 1700000000, "alice"),
            (TurnCredential{"1700000000:alice", "Oko4dt8u/EbTRjRUJWQDFm/zTCc="}));
  EXPECT_EQ(turnRestCredential("s", 0, "").password, "jRsZKz8Y0n/z5GwH3aMlo31rjzA=");
}

TEST(TurnUrl, ReadsLoginAndPlace) {
  EXPECT_EQ(parseTurnUrl("turn://1700000000:alice:Oko4dt8u/EbT=@relay.example:3479"),
            (TurnUrl{"relay.example", 3479, "1700000000:alice", "Oko4dt8u/EbT="}));
  EXPECT_EQ(parseTurnUrl("turn://u:p@198.18.0.1"), (TurnUrl{"198.18.0.1", 3478, "u", "p"}));
  for (const char* bad : {"stun://u:p@h", "turn://h:3478", "turn://u@h", "turn://:p@h",
                          "turn://u:@h", "turn://u:p@h:0", "turn://u:p@h:x", "turn://u:p@"})
    EXPECT_EQ(parseTurnUrl(bad), std::nullopt) << bad;
}

// Addresses xored with the cookie, in the header's layout, are what the
// real relay server reads and answers in relay_fallback_test.cpp.

TEST(TurnMessage, IntegrityCoversEveryByte) {
  const auto key = turn::longTermKey("1700000000:alice", "zelkar", "pw");
  auto bytes = turn::Builder(turn::kAllocate, turn::kSuccess, {})
                   .u32(turn::kLifetime, 600)
                   .text(turn::kRealm, "zelkar")
                   .finish(key);
  ASSERT_TRUE(turn::parse(bytes)->integrityMatches(key));
  const auto otherKey = turn::longTermKey("1700000000:alice", "zelkar", "pW");
  EXPECT_FALSE(turn::parse(bytes)->integrityMatches(otherKey));
  bytes[27] ^= 1;  // the lifetime's last byte
  EXPECT_FALSE(turn::parse(bytes)->integrityMatches(key));
  EXPECT_EQ(turn::parse(bytes)->u32(turn::kLifetime), 601u);
}

TEST(TurnMessage, RejectsWhatDoesNotAddUp) {
  const auto good = turn::Builder(turn::kData, turn::kIndication, {})
                        .text(turn::kDataAttr, "hello")
                        .finish();  // 20 + 4 + 8 (5 padded) = 32 bytes
  ASSERT_EQ(good.size(), 32u);
  ASSERT_TRUE(turn::parse(good));
  const std::vector<uint8_t> cut(good.begin(), good.end() - 1);
  auto longer = good;
  longer[23] = 64;  // the attribute claims 64 bytes
  auto cookie = good;
  cookie[4] ^= 0xFF;
  for (const auto& bad :
       {std::vector<uint8_t>(good.begin(), good.begin() + 19), cut, longer, cookie})
    EXPECT_FALSE(turn::parse(bad));

  const auto frame = turn::channelData(0x4001, bytesOf("abcde"));
  EXPECT_EQ(hex(frame),
            "4001000561626364650000"
            "00");
  const auto read = turn::parseChannelData(frame);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->channel, 0x4001);
  EXPECT_EQ(std::string(read->payload.begin(), read->payload.end()), "abcde");
  auto lying = frame;
  lying[3] = 9;  // 9 bytes claimed, 8 there
  EXPECT_FALSE(turn::parseChannelData(lying));
  EXPECT_FALSE(turn::parseChannelData(std::vector<uint8_t>{0x3f, 0xff, 0, 0}));  // not a channel
}

}  // namespace
}  // namespace zelkar::net
