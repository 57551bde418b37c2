#include "headless/json_out.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>

#include "json_reader.h"

namespace zelkar::sim {

namespace {

template <typename F>
std::string text(F v) {
  std::string out;
  appendJsonNumber(out, v);
  return out;
}

// The bits a JSON consumer reads back from the number written for v.
template <typename U, typename F>
U readBackBits(F v) {
  const test::Json j = test::parseJson(text(v));  // also proves it is valid JSON
  F back{};
  std::from_chars(j.text.data(), j.text.data() + j.text.size(), back);
  return std::bit_cast<U>(back);
}

std::string str(std::string_view s) {
  std::string out;
  appendJsonString(out, s);
  return out;
}

}  // namespace

TEST(JsonOut, NumbersReadBackToTheSameBitsAndNonFiniteOnesAreStrings) {
  using L = std::numeric_limits<float>;
  for (float v : {0.0f, -0.0f, 0.1f, 1.0f / 3, 16777217.0f, L::max(), L::lowest(), L::min(),
                  L::denorm_min(), 3.1415f / 256})
    EXPECT_EQ(readBackBits<uint32_t>(v), std::bit_cast<uint32_t>(v)) << text(v);
  std::mt19937_64 gen(7);
  for (int i = 0; i < 20000; ++i) {
    const auto f = std::bit_cast<float>(static_cast<uint32_t>(gen()));
    const auto d = std::bit_cast<double>(static_cast<uint64_t>(gen()));
    if (std::isfinite(f)) {
      ASSERT_EQ(readBackBits<uint32_t>(f), std::bit_cast<uint32_t>(f)) << f;
    }
    if (std::isfinite(d)) {
      ASSERT_EQ(readBackBits<uint64_t>(d), std::bit_cast<uint64_t>(d)) << d;
    }
  }
  // Shortest form of the float itself, not of its widening to double.
  EXPECT_EQ(text(0.1f), "0.1");
  EXPECT_EQ(text(static_cast<double>(0.1f)), "0.10000000149011612");
  // JSON has no numbers that are not finite: they are strings.
  EXPECT_EQ(text(std::numeric_limits<float>::quiet_NaN()), "\"NaN\"");
  EXPECT_EQ(text(-std::numeric_limits<double>::quiet_NaN()), "\"NaN\"");
  EXPECT_EQ(text(std::numeric_limits<float>::infinity()), "\"Infinity\"");
  EXPECT_EQ(text(-std::numeric_limits<double>::infinity()), "\"-Infinity\"");
}

TEST(JsonOut, StringsEscapeWhatJsonNeedsKeepUtf8AndReplaceInvalidBytes) {
  EXPECT_EQ(str("a\"b\\c"), R"("a\"b\\c")");
  EXPECT_EQ(str("\n\r\t\x01\x1f"), R"("\n\r\t\u0001\u001f")");
  EXPECT_EQ(str("再び対戦するか（Ｙ/Ｎ）？😀"), "\"再び対戦するか（Ｙ/Ｎ）？😀\"");
  EXPECT_EQ(test::parseJson(str("勝者\x02")).text, "勝者\x02");
  // A cut sequence, a stray continuation byte, an overlong form, a surrogate
  // and a code point above U+10FFFF: each bad byte becomes U+FFFD.
  EXPECT_EQ(str("a\xE5\x86"), R"("a\ufffd\ufffd")");
  EXPECT_EQ(str("\x80z"), R"("\ufffdz")");
  EXPECT_EQ(str("\xC0\xAF"), R"("\ufffd\ufffd")");
  EXPECT_EQ(str("\xED\xA0\x80"), R"("\ufffd\ufffd\ufffd")");
  EXPECT_EQ(str("\xF4\x90\x80\x80"), R"("\ufffd\ufffd\ufffd\ufffd")");
  EXPECT_EQ(test::parseJson(str("\xFF")).text, "\xEF\xBF\xBD");
}

}  // namespace zelkar::sim
