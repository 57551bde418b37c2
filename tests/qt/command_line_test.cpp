#include "qt/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "headless/cli.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

CommandLine parse(std::initializer_list<const char*> args) {
  return parseCommandLine(test::commandLine(args));
}

TEST(CommandLine, SeedAndScale) {
  const CommandLine plain = parse({});
  EXPECT_EQ(plain.action, CommandLine::Action::run);
  EXPECT_FALSE(plain.seed.has_value());
  EXPECT_EQ(plain.scale, 1);

  const CommandLine both = parse({"--seed", "4294967295", "--scale=3"});
  EXPECT_EQ(both.action, CommandLine::Action::run);
  EXPECT_EQ(both.seed, 4294967295u);
  EXPECT_EQ(both.scale, 3);
  EXPECT_EQ(parse({"--seed=0"}).seed, 0u);
  EXPECT_FALSE(plain.language.has_value());
  EXPECT_EQ(parse({"--lang", "en"}).language, Language::english);
  EXPECT_EQ(parse({"--lang=ja"}).language, Language::japanese);
}

TEST(CommandLine, MistakesAreRefusedNotGuessed) {
  for (const char* args :
       {"--seed", "--seed -1", "--seed 4294967296", "--seed 12x", "--scale 0", "--scale 9",
        "--scale 2.5", "--fast", "extra", "--lang", "--lang EN", "--lang fr", "--lang=english"}) {
    const CommandLine c = parseCommandLine(test::commandLineOf(args));
    EXPECT_EQ(c.action, CommandLine::Action::error) << args;
    EXPECT_FALSE(c.error.isEmpty());
  }
  // Help and version answer even beside a mistake.
  EXPECT_EQ(parse({"--scale", "0", "--help"}).action, CommandLine::Action::help);
  EXPECT_EQ(parse({"--bogus", "--version"}).action, CommandLine::Action::version);
}

// One seed text means one arena: the program and zelkar-sim take and
// refuse the same texts, and take them as the same number.
TEST(CommandLine, TheSeedIsReadAsZelkarSimReadsIt) {
  const struct {
    const char* text;
    std::optional<uint32_t> seed;
  } cases[] = {{"0", 0u},          {"05", 5u},  {"4294967295", 4294967295u},
               {"+5", {}},         {"-0", {}},  {" 5", {}},
               {"5 ", {}},         {"", {}},    {"0x1F", {}},
               {"4294967296", {}}, {"1e3", {}}, {"\xEF\xBC\x95", {}}};  // a full-width 5
  for (const auto& c : cases) {
    const CommandLine line = parse({"--seed", c.text});
    EXPECT_EQ(line.action == CommandLine::Action::run, c.seed.has_value()) << '"' << c.text << '"';
    EXPECT_EQ(line.seed, c.seed) << c.text;
    // zelkar-sim, with the seed's arena in its output.
    std::istringstream in("");
    std::ostringstream out, err;
    const int status = sim::simMain({"--seed", c.text}, in, out, err);
    EXPECT_EQ(status == sim::kExitOk, c.seed.has_value()) << '"' << c.text << '"' << err.str();
  }
}

}  // namespace
}  // namespace zelkar::qt
