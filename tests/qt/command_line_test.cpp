#include "qt/command_line.h"

#include <gtest/gtest.h>

namespace zelkar::qt {
namespace {

CommandLine parse(std::initializer_list<const char*> args) {
  QStringList list{QStringLiteral("zelkar")};
  for (const char* a : args) list << QString::fromUtf8(a);
  return parseCommandLine(list);
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
}

TEST(CommandLine, MistakesAreRefusedNotGuessed) {
  for (auto args : {std::initializer_list<const char*>{"--seed"},
                    {"--seed", "-1"},
                    {"--seed", "4294967296"},
                    {"--seed", "12x"},
                    {"--scale", "0"},
                    {"--scale", "9"},
                    {"--scale", "2.5"},
                    {"--fast"},
                    {"extra"}}) {
    const CommandLine c = parse(args);
    EXPECT_EQ(c.action, CommandLine::Action::error) << *args.begin();
    EXPECT_FALSE(c.error.isEmpty());
  }
  // Help and version answer even beside a mistake.
  EXPECT_EQ(parse({"--scale", "0", "--help"}).action, CommandLine::Action::help);
  EXPECT_EQ(parse({"--bogus", "--version"}).action, CommandLine::Action::version);
}

}  // namespace
}  // namespace zelkar::qt
