#include "events/script.h"

#include <gtest/gtest.h>

namespace zelkar::sim {

TEST(Script, ReadsEveryCommandWithItsLineNumber) {
  const ParsedScript r = parseScript(
      "# a match\n"
      "\n"
      "seed 12345\r\n"
      "config 7 3 -1   # below 10 ms the interval is raised, as in config.txt\n"
      "start given 7 friction\n"
      "\t down 88 2\n"
      "up 65\n"
      "tick\n"
      "tick 40\n"
      "answer Y\n"
      "start random");
  ASSERT_FALSE(r.error) << r.error->message;
  std::vector<int> lines;
  std::vector<Command> commands;
  for (const auto& c : r.commands) lines.push_back(c.line), commands.push_back(c.command);
  EXPECT_EQ(lines, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11}));
  const std::vector<Command> expected = {
      SeedCommand{12345},    ConfigCommand{{7, 10, -1}}, StartCommand{true, "7", true},
      KeyDownCommand{88, 2}, KeyUpCommand{65},           TickCommand{1},
      TickCommand{40},       AnswerCommand{"Y"},         StartCommand{false, "", false},
  };
  EXPECT_EQ(commands, expected);
}

TEST(Script, QuotedTextsReadBackAsWritten) {
  const ParsedScript r = parseScript("start given \"\" friction\nanswer \"say \"\"y\"\"\" # c\n");
  ASSERT_FALSE(r.error) << r.error->message;
  EXPECT_EQ(std::get<StartCommand>(r.commands[0].command).text, "");  // the empty box
  EXPECT_TRUE(std::get<StartCommand>(r.commands[0].command).friction);
  EXPECT_EQ(std::get<AnswerCommand>(r.commands[1].command).text, "say \"y\"");

  // What a recording writes, the runner reads back unchanged.
  for (std::string_view text : {"7", " 1", "a#b", "\"q", "x\"y", "再び", "a\tb", "b\r"}) {
    const ParsedScript back = parseScript("answer " + scriptText(text) + " # note\n");
    ASSERT_FALSE(back.error) << text << ": " << back.error->message;
    EXPECT_EQ(std::get<AnswerCommand>(back.commands[0].command).text, text);
  }
  EXPECT_EQ(scriptText("10.5"), "10.5");  // plain texts stay plain
}

TEST(Script, BadCommandsNameTheirLine) {
  struct Case {
    const char* script;
    int line;
    const char* says;
  };
  const Case cases[] = {
      {"tick\nfire 3\n", 2, "unknown command \"fire\""},
      {"# only a comment\n\nseed\n", 3, "missing argument"},
      {"seed -1\n", 1, "seed must be a whole number"},
      {"seed 4294967296\n", 1, "seed"},
      {"seed 12x\n", 1, "12x"},
      {"config 1 10\n", 1, "missing argument"},
      {"config 1 40000 1\n", 1, "tick interval"},
      {"start\n", 1, "random"},
      {"start somehow\n", 1, "somehow"},
      {"start given\n", 1, "missing argument"},
      {"start random frction\n", 1, "frction"},
      {"start given 5 friction extra\n", 1, "extra"},
      {"down 256\n", 1, "key code"},
      {"down 65 8\n", 1, "shift state"},
      {"up 65 1\n", 1, "unexpected \"1\""},
      {"tick -1\n", 1, "tick count"},
      {"tick 1.5\n", 1, "tick count"},
      {"answer\n", 1, "missing argument"},
      {"answer \"\"\n", 1, "empty"},
      {"answer \"y\n", 1, "no closing quote"},
      {"answer \"y\"n\n", 1, "closing quote"},
      {"seed 1\nstart random\ntick\nseed 2\n", 4, "only before the first start"},
  };
  for (const Case& c : cases) {
    const ParsedScript r = parseScript(c.script);
    ASSERT_TRUE(r.error) << c.script;
    EXPECT_EQ(r.error->line, c.line) << c.script;
    EXPECT_NE(r.error->message.find(c.says), std::string::npos)
        << c.script << " -> " << r.error->message;
  }
}

}  // namespace zelkar::sim
