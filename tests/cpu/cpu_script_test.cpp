// The runner's `cpu left|right LEVEL` line.
#include <gtest/gtest.h>

#include "events/script.h"

namespace zelkar::sim {
namespace {

TEST(CpuScriptLine, ReadsSideAndLevel) {
  const ParsedScript ok = parseScript("cpu left 1\ncpu right 3\n");
  ASSERT_FALSE(ok.error);
  ASSERT_EQ(ok.commands.size(), 2u);
  EXPECT_EQ(ok.commands[0].command, (Command{CpuCommand{1, 1}}));
  EXPECT_EQ(ok.commands[1].command, (Command{CpuCommand{0, 3}}));
  EXPECT_EQ(scriptLine(CpuCommand{1, 2}), "cpu left 2");  // read back in ReplayFormat
}

TEST(CpuScriptLine, RefusesOtherSidesLevelsAndCounts) {
  for (const char* bad : {"cpu middle 2", "cpu left 0", "cpu right 4", "cpu left", "cpu",
                          "cpu left 2 3", "cpu LEFT 2", "cpu left two"}) {
    const ParsedScript p = parseScript(bad);
    ASSERT_TRUE(p.error) << bad;
    EXPECT_EQ(p.error->line, 1) << bad;
  }
}

}  // namespace
}  // namespace zelkar::sim
