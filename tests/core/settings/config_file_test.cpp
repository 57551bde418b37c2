#include "settings/config_file.h"

#include <gtest/gtest.h>

#include "app/game_state.h"

namespace zelkar {

TEST(ConfigFile, DefaultsRoundTrip) {
  const std::string text = formatConfig(1, "10", 0);
  EXPECT_EQ(text, " 1 \r\n10\r\n 0 \r\n");
  ConfigRead r = parseConfig(text);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.values->keypadMode, 1);
  EXPECT_EQ(r.values->tickInterval, 10);
  EXPECT_EQ(r.values->soundOn, 0);
}

}  // namespace zelkar
