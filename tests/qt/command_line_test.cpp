#include "qt/command_line.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "qt/program_options.h"
#include "qt_test_support.h"

namespace zelkar::qt {
namespace {

CommandLine parse(std::initializer_list<const char*> args) {
  return parseCommandLine(test::commandLine(args));
}

TEST(CommandLine, SeedScaleLanguageAndFiles) {
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
  const CommandLine files = parse({"--record", "r.zrp", "--hashes=h"});
  EXPECT_EQ(files.recordPath, QStringLiteral("r.zrp"));
  EXPECT_EQ(files.hashesPath, QStringLiteral("h"));
  EXPECT_EQ(parse({"--replay", "p.zrp"}).replayPath, QStringLiteral("p.zrp"));
}

TEST(CommandLine, MistakesAreRefusedNotGuessed) {
  for (const char* args :
       {"--seed", "--seed -1", "--seed 4294967296", "--seed 12x", "--scale 0", "--scale 9",
        "--scale 2.5", "--fast", "extra", "--lang", "--lang EN", "--lang fr", "--lang=english",
        "--record a --replay b", "--record=", "--hashes ", "--replay"}) {
    const CommandLine c = parseCommandLine(test::commandLineOf(args));
    EXPECT_EQ(c.action, CommandLine::Action::error) << args;
    EXPECT_FALSE(c.error.isEmpty());
  }
  // Help and version answer even beside a mistake.
  EXPECT_EQ(parse({"--scale", "0", "--help"}).action, CommandLine::Action::help);
  EXPECT_EQ(parse({"--bogus", "--version"}).action, CommandLine::Action::version);
}

// One seed text means one arena: the program reads it with zelkar-sim's
// parseSeed, which takes and refuses these texts.
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
  }
}

// The usage lines (up to the first blank line) name every option that the
// help explains, those of online play and of the computer player included.
TEST(CommandLine, TheUsageLinesNameEveryOption) {
  const QString help = helpText(QStringLiteral("zelkar"));
  const QString usage = help.section(QStringLiteral("\n\n"), 0, 0);
  QStringList explained;
  for (const auto& m : QRegularExpression(QStringLiteral("\n  (--[a-z-]+)")).globalMatch(help))
    explained << m.captured(1);
  for (const char* o :
       {"--seed", "--scale", "--record", "--replay", "--hashes", "--host", "--join", "--code",
        "--side", "--input-delay", "--sync-test", "--cpu", "--cpu-level", "--help", "--version"})
    EXPECT_TRUE(explained.contains(QLatin1String(o))) << o;
  for (const QString& o : explained)
    EXPECT_TRUE(usage.contains(QRegularExpression(QRegularExpression::escape(o) + "\\b(?!-)")))
        << qPrintable(o);
}

// Qt's own options are left for Qt, with their values; everything else is
// read once, by the program's parsers.
TEST(CommandLine, QtOptionsArePassedOverAndTheRestReadOnce) {
  const ProgramOptions o = readProgramOptions(test::commandLineOf(
      "-platform offscreen --seed 7 --style=fusion --cpu left -reverse --host 5000 --code AB"));
  EXPECT_EQ(o.line.action, CommandLine::Action::run) << qPrintable(o.line.error);
  EXPECT_EQ(o.line.seed, 7u);
  EXPECT_TRUE(o.cpu.sides[1]);
  EXPECT_EQ(o.net.role, NetOptions::Role::host);
  EXPECT_EQ(o.net.code, QStringLiteral("AB"));
  for (const char* wrong : {"--cpu middle", "--seed 7 -bogus", "--side left"})
    EXPECT_EQ(readProgramOptions(test::commandLineOf(wrong)).line.action,
              CommandLine::Action::error)
        << wrong;
}

}  // namespace
}  // namespace zelkar::qt
