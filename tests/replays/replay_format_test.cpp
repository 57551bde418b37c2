// The replay file: its format line, the writer that a recording uses, and
// the hash list that --dump hash prints.
#include <gtest/gtest.h>

#include <sstream>

#include "headless/cli.h"
#include "headless/replay.h"

namespace zelkar::sim {
namespace {

constexpr const char* kShortMatch =
    "seed 5\nstart random\ndown 88\ndown 98\ntick 30\ndown 68\ntick 20\n";

TEST(ReplayFormat, TheFormatLineIsReadOnlyFirstAndOnlyInItsVersion) {
  const ParsedScript good = parseScript("zelkar-replay 1  # comment\ntick 3\n");
  ASSERT_FALSE(good.error) << good.error->message;
  ASSERT_EQ(good.commands.size(), 1u);
  EXPECT_EQ(good.commands[0].line, 2);
  EXPECT_FALSE(parseScript("tick 3\n").error);  // plain scripts need no format line

  struct Case {
    const char* text;
    int line;
    const char* says;
  };
  for (const Case& c : {Case{"zelkar-replay 2\ntick\n", 1, "version \"2\""},
                        Case{"zelkar-replay\ntick\n", 1, "zelkar-replay 1"},
                        Case{"zelkar-replay 1 extra\n", 1, "zelkar-replay 1"},
                        Case{"zelkar-replay10\n", 1, "zelkar-replay 1"},
                        Case{"# note\nzelkar-replay 1\n", 2, "first line"},
                        Case{"tick\nzelkar-replay 1\n", 2, "first line"}}) {
    const ParsedScript r = parseScript(c.text);
    ASSERT_TRUE(r.error) << c.text;
    EXPECT_EQ(r.error->line, c.line) << c.text;
    EXPECT_NE(r.error->message.find(c.says), std::string::npos) << r.error->message;
  }
}

TEST(ReplayFormat, WrittenCommandsReadBackTheSame) {
  const std::vector<Command> commands = {
      SeedCommand{4294967295u},
      ConfigCommand{{-3, 32767, 0}},
      StartCommand{true, "", true},
      StartCommand{true, " 1 # \"x\"", false},
      StartCommand{false, "", true},
      KeyDownCommand{255, 7},
      KeyDownCommand{88, 0},
      KeyUpCommand{0},
      TickCommand{1},
      TickCommand{kMaxTicks},
      AnswerCommand{"y"},
      AnswerCommand{"\"a\tb\r"},
      CpuCommand{0, 1},
      CpuCommand{1, 3},
  };
  const std::string text = replayText(commands);
  EXPECT_EQ(text.substr(0, 16), "zelkar-replay 1\n");
  const ParsedScript back = parseScript(text);
  ASSERT_FALSE(back.error) << back.error->message;
  ASSERT_EQ(back.commands.size(), commands.size());
  for (std::size_t i = 0; i < commands.size(); ++i)
    EXPECT_EQ(back.commands[i].command, commands[i]) << scriptLine(commands[i]);
}

TEST(ReplayFormat, DumpHashPrintsTheInProcessHashes) {
  std::istringstream in(kShortMatch);
  std::ostringstream out, err;
  ASSERT_EQ(simMain({"--dump", "hash"}, in, out, err), kExitOk) << err.str();
  const auto printed = readHashLines(out.str());
  ASSERT_TRUE(printed) << out.str();
  const HashRun run = replayHashes(kShortMatch);
  EXPECT_EQ(*printed, run.hashes);
  EXPECT_EQ(run.hashes.size(), 50u);
  // Ticks in which the vehicle moves change the state.
  EXPECT_NE(run.hashes[30], run.hashes[49]);
  EXPECT_EQ(out.str().substr(0, out.str().find('\n')), hashLine(1, run.hashes[0]));
}

TEST(ReplayFormat, HashListsAreReadStrictly) {
  EXPECT_EQ(hashLine(7, 0xABC), "7 0000000000000abc");
  EXPECT_EQ(readHashLines("1 0000000000000abc\n2 ffffffffffffffff\n"),
            (std::vector<uint64_t>{0xABC, ~uint64_t{0}}));
  for (const char* bad : {"2 0000000000000abc\n", "1 abc\n", "1 0000000000000abg\n",
                          "1 -000000000000abc\n", "1\n", "x 0000000000000abc\n"})
    EXPECT_FALSE(readHashLines(bad)) << bad;
}

}  // namespace
}  // namespace zelkar::sim
