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
}

TEST(CpuScriptLine, RefusesOtherSidesLevelsAndCounts) {
  for (const char* bad : {"cpu middle 2", "cpu left 0", "cpu right 4", "cpu left", "cpu",
                          "cpu left 2 3", "cpu LEFT 2", "cpu left two"}) {
    const ParsedScript p = parseScript(bad);
    ASSERT_TRUE(p.error) << bad;
    EXPECT_EQ(p.error->line, 1) << bad;
  }
}

TEST(CpuScriptLine, WritesWhatItReads) {
  for (const CpuCommand& c : {CpuCommand{0, 1}, CpuCommand{1, 2}, CpuCommand{1, 3}}) {
    const ParsedScript p = parseScript(scriptLine(c));
    ASSERT_FALSE(p.error);
    ASSERT_EQ(p.commands.size(), 1u);
    EXPECT_EQ(p.commands[0].command, (Command{c}));
  }
  EXPECT_EQ(scriptLine(CpuCommand{1, 2}), "cpu left 2");
}

}  // namespace
}  // namespace zelkar::sim
