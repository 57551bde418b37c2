#include "settings/config_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/game_state.h"

namespace zelkar {
namespace {

TEST(ConfigFile, DefaultsRoundTrip) {
  const std::string text = formatConfig(1, "10", 0);
  EXPECT_EQ(text, " 1 \r\n10\r\n 0 \r\n");
  ConfigRead r = parseConfig(text);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.values->keypadMode, 1);
  EXPECT_EQ(r.values->tickInterval, 10);
  EXPECT_EQ(r.values->soundOn, 0);
}

// The three values a text gives, or -1s when it is refused.
struct Three {
  int kind, interval, sound;
  bool operator==(const Three&) const = default;
};
Three valuesOf(std::string_view text) {
  const ConfigRead r = parseConfig(text);
  if (!r.ok()) return {-1, -1, -1};
  return {r.values->keypadMode, r.values->tickInterval, r.values->soundOn};
}

TEST(ConfigFile, EveryLineEndAndAByteOrderMarkRead) {
  const Three expected{0, 25, 1};
  EXPECT_EQ(valuesOf(" 0 \r\n25\r\n 1 \r\n"), expected);  // as the game writes it
  EXPECT_EQ(valuesOf(" 0 \n25\n 1 \n"), expected);
  EXPECT_EQ(valuesOf(" 0 \r25\r 1 \r"), expected);  // CR alone, old Mac style
  EXPECT_EQ(valuesOf(" 0 \r25\n 1 \r\n"), expected);
  EXPECT_EQ(valuesOf(" 0 \r\n25\r\n 1 "), expected);  // no break after the last
  EXPECT_EQ(valuesOf("\xEF\xBB\xBF 0 \r\n25\r\n 1 \r\n"), expected);
  EXPECT_EQ(valuesOf("\xEF\xBB\xBF 0 \r25\r 1 \r"), expected);
  // An empty line is a line: CR CR is two breaks, not one.
  EXPECT_EQ(valuesOf(" 0 \r\r25\r 1 \r"), (Three{-1, -1, -1}));
  // Only a whole mark is skipped; a lone byte of one is not a number.
  EXPECT_EQ(valuesOf("\xEF 0 \r\n25\r\n 1 \r\n"), (Three{-1, -1, -1}));
}

TEST(ConfigFile, TheIntervalLineIsKeptAsWrittenBesideTheValueInForce) {
  const ConfigRead low = parseConfig(" 1 \r\n 5 \r\n 0 \r\n");
  ASSERT_TRUE(low.ok());
  EXPECT_EQ(low.values->tickInterval, 10);  // held to the 10 ms limit in play
  EXPECT_EQ(low.intervalText, "5");
  const ConfigRead big = parseConfig(" 1 \r\n\t40000x\r\n 0 \r\n");
  ASSERT_TRUE(big.ok());
  EXPECT_EQ(big.values->tickInterval, 32767);
  EXPECT_EQ(big.intervalText, "40000x");
}

TEST(ConfigFile, OnlyARegularFileOfAFewKilobytesIsRead) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("zelkar-config-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string lines = " 1 \r\n30\r\n 0 \r\n";
  // Text after the three lines is ignored, up to the size limit.
  std::ofstream(dir / "full.txt", std::ios::binary)
      << lines << std::string(kMaxConfigBytes - lines.size(), ' ');
  const ConfigRead full = readConfigFile(dir / "full.txt");
  ASSERT_TRUE(full.ok()) << full.error;
  EXPECT_EQ(full.values->tickInterval, 30);
  std::ofstream(dir / "big.txt", std::ios::binary)
      << lines << std::string(kMaxConfigBytes - lines.size() + 1, ' ');
  EXPECT_EQ(readConfigFile(dir / "big.txt").error,
            (dir / "big.txt").string() + " is larger than 4096 bytes");
  fs::remove_all(dir);
}

}  // namespace
}  // namespace zelkar
