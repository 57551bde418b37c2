// zelkar-sim's command line: its options, its exit status, its recording,
// and what it reads: only regular script files within the size limit and
// replays whose last line is whole; and messages that cannot act on the
// terminal. The seed's reading is tested beside zelkar's own.
#include "headless/cli.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "events/script.h"
#include "headless/cpu_seat.h"
#include "headless/printable.h"
#include "json_reader.h"
#include "net/sync_test.h"
#include "support/golden_replays.h"

namespace zelkar::sim {
namespace {

namespace fs = std::filesystem;

struct SimRun {
  int status = -1;
  std::string out, err;
};

SimRun simulate(const std::vector<std::string>& args, const std::string& script = "",
                const std::string& inProblem = "", const SeatMaker& seats = {}) {
  std::istringstream in(script);
  std::ostringstream out, err;
  const int status = simMain(args, in, out, err, inProblem, seats);
  return {status, out.str(), err.str()};
}

// The exit status of a shell command, or -1 when it did not exit.
int exitStatus(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SimCli, AScriptWithoutEventsPrintsTheOpenedWindowOnce) {
  const SimRun r = simulate({}, "# nothing but settings\nconfig 0 20 1\n");
  ASSERT_EQ(r.status, kExitOk) << r.err;
  ASSERT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
  const test::Json j = test::parseJson(r.out.substr(0, r.out.size() - 1));
  EXPECT_EQ(j["tick"].text, "0");
  EXPECT_FALSE(j["running"].boolean);
  EXPECT_FALSE(j["ended"].boolean);
}

TEST(SimCli, HelpAndBadCommandsAndOptions) {
  // The help names every option either parser takes, and every exit status.
  SimRun r = simulate({"--help"});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_NE(r.out.find("--dump ticks|end|hash"), std::string::npos);
  for (const char* option :
       {"--seed", "--script", "--record", "--help", "--host", "--join", "--code", "--meet",
        "--side", "--input-delay", "--relay", "--relay-peer", "--no-portmap", "--sync-test"}) {
    EXPECT_TRUE(r.out.find(std::string(option) + " ") != std::string::npos ||
                r.out.find(std::string(option) + ",") != std::string::npos)
        << option;
  }
  for (const char* status : {"\n  0 ", "\n  1 ", "\n  2 ", "\n  3 ", "\n  128+N "})
    EXPECT_NE(r.out.find(status), std::string::npos) << status;

  // Nothing is played from a bad script; a runner built without the
  // computer refuses its line instead of playing the match without it.
  const std::array<const char*, 3> bad[] = {
      {"config 1 10 1\n\n  # fine so far\nstart random sideways\ntick\n", "line 4", "sideways"},
      {"start random\ncpu right 2\ntick 5\n", "line 2: cpu", "cpu"}};
  for (const auto& [script, line, word] : bad) {
    r = simulate({}, script);
    EXPECT_EQ(r.status, kExitBad);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find(line), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(word), std::string::npos) << r.err;
  }

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--dump", "often"}, {"--seed", "-4"}, {"--seed"}, {"--fast"}}) {
    r = simulate(args);
    EXPECT_EQ(r.status, kExitBad) << args[0];
    EXPECT_NE(r.err.find("usage"), std::string::npos);
  }
}

class SimInputs : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("zelkar-sim-inputs-" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

// The program itself exits with the runner's status, from a script file or
// a pipe. Standard input that is a folder is an error, not an empty script
// (what is a regular file is readRegularFile's rule, RegularFileTest), but
// not when the script comes from a file.
TEST_F(SimInputs, TheProgramExitsWithTheRunnersStatus) {
  const std::string sim = ZELKAR_SIM_PATH, bad = (dir / "bad.zsim").string(),
                    out = (dir / "out.json").string();
  std::ofstream(bad) << "tick\ntick twice\n";
  EXPECT_EQ(exitStatus(sim + " --script " + bad + " >/dev/null 2>&1"), kExitBad);
  EXPECT_EQ(exitStatus(sim + " < / > /dev/null 2>&1"), kExitIo);
  EXPECT_EQ(exitStatus("printf 'seed 9\\ntick 2\\n' | " + sim + " --dump end >" + out), kExitOk);
  const std::string text = testing::readWholeFile(out).value_or("");
  ASSERT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
  EXPECT_NO_THROW(test::parseJson(text.substr(0, text.size() - 1)));

  const SimRun folder = simulate({}, "", "is a folder, not a script");
  EXPECT_EQ(folder.status, kExitIo);
  EXPECT_EQ(folder.err, "zelkar-sim: standard input is a folder, not a script\n");
  std::ofstream(dir / "ok.zsim") << "tick\n";
  EXPECT_EQ(simulate({"--script", (dir / "ok.zsim").string()}, "", "is a folder").status, kExitOk);
}

// A script at the limit (one long comment) is read and played, one byte
// more is refused, from a file and from standard input.
TEST_F(SimInputs, AScriptLargerThanTheLimitIsRefusedFromAFileAndFromInput) {
  const std::string atLimit = std::string(kMaxScriptBytes - 1, '#') + "\n";
  for (const bool fromFile : {true, false}) {
    const auto run = [&](const std::string& text) {
      if (!fromFile) return simulate({}, text);
      std::ofstream(dir / "s.zsim", std::ios::binary) << text;
      return simulate({"--script", (dir / "s.zsim").string()});
    };
    EXPECT_EQ(run(atLimit).status, kExitOk) << fromFile;
    const SimRun over = run(atLimit + "\n");
    EXPECT_EQ(over.status, kExitIo) << fromFile;
    EXPECT_NE(over.err.find("larger than 16777216 bytes"), std::string::npos) << over.err;
  }
}

// A replay cut in its last line is refused (Replay.AFileWithABadOrCutLineIsRefusedWhole says
// how); here only what is the runner's own: a script is a replay by its format line, a
// hand-written one needs no break, and a cut comment carries no event.
TEST(SimCli, AReplayCutInItsLastLineIsRefusedAPlainScriptIsNot) {
  const std::pair<const char*, int> cases[] = {
      {"zelkar-replay 1\nseed 1\nstart random\ndown 10", kExitBad},
      {"zelkar-replay 1\nseed 1\n# cut comm", kExitOk},
      {"seed 1\ntick 3", kExitOk},
      {"zelkar-replay 1\r\ntick\r\n", kExitOk}};
  for (const auto& [text, status] : cases) EXPECT_EQ(simulate({}, text).status, status) << text;
}

TEST_F(SimInputs, MessagesShowControlCharactersEscaped) {
  const SimRun r = simulate({}, std::string("start\x1B[2J\0x\n", 12));
  EXPECT_EQ(r.status, kExitBad);
  EXPECT_NE(r.err.find("start\\x1B[2J\\x00x"), std::string::npos) << r.err;
  for (char c : r.err) EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << int(c);
  const SimRun option = simulate({"--dump", "\x07"});
  EXPECT_NE(option.err.find("\\x07"), std::string::npos) << option.err;
}

// C0, C1 and DEL are escaped, and every byte that is not UTF-8; text stays.
TEST(Printable, ControlsAndBytesThatAreNotUtf8AreEscapedTextStays) {
  EXPECT_EQ(printable("tick 5"), "tick 5");
  EXPECT_EQ(printable("再び対戦するか（Ｙ/Ｎ）？"), "再び対戦するか（Ｙ/Ｎ）？");
  EXPECT_EQ(printable(std::string_view("a\0b", 3)), "a\\x00b");
  EXPECT_EQ(printable("\x1B[2J"), "\\x1B[2J");  // would clear the screen
  EXPECT_EQ(printable("a\nb\rc\td"), "a\\x0Ab\\x0Dc\\x09d");
  EXPECT_EQ(printable("\x7F"), "\\x7F");
  EXPECT_EQ(printable("C:\\x41"), "C:\\\\x41");  // a backslash cannot forge an escape
  EXPECT_EQ(printable("\xC2\x9B"
                      "31m"),
            "\\u009B31m");  // CSI as one character
  EXPECT_EQ(printable("\xC2\x80"), "\\u0080");
  EXPECT_EQ(printable("\xC2\xA0"), "\xC2\xA0");  // U+00A0 is printable
  EXPECT_EQ(printable("\xFF\xFE"), "\\xFF\\xFE");
  EXPECT_EQ(printable("\xE3\x81"), "\\xE3\\x81");                // cut in the middle of a character
  EXPECT_EQ(printable("\xC0\xAF"), "\\xC0\\xAF");                // an overlong "/"
  EXPECT_EQ(printable("\xED\xA0\x80"), "\\xED\\xA0\\x80");       // a surrogate
  EXPECT_EQ(printable("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");  // four bytes, printable
}

// --record on a local run: a match played by the computer is written as the
// keys it pressed, so the file replays the same match with no computer at
// all and passes the sync test, which refuses cpu lines.
constexpr int kTicks = 900;  // long enough for both computers to confirm, drive and fire

using SimRecord = SimInputs;

TEST_F(SimRecord, AComputerMatchIsRecordedAsKeysThatReplayAndPassTheSyncTest) {
  const std::string record = (dir / "cpu.zrp").string();
  const std::string script =
      "start random\ncpu left 3\ncpu right 2\ntick " + std::to_string(kTicks) + "\n";
  const SimRun played =
      simulate({"--seed", "9", "--record", record, "--dump", "hash"}, script, "", cpuSeats());
  ASSERT_EQ(played.status, kExitOk) << played.err;

  const auto text = testing::readWholeFile(record);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->rfind("zelkar-replay 1\nseed 9\n", 0), 0u) << *text;
  EXPECT_EQ(text->find("\ncpu "), std::string::npos) << "the computer is written as its keys";
  EXPECT_NE(text->find("\ndown "), std::string::npos);

  // Without --seed: the file carries it.
  const SimRun replayed = simulate({"--script", record, "--dump", "hash"});
  ASSERT_EQ(replayed.status, kExitOk) << replayed.err;
  EXPECT_EQ(replayed.out, played.out) << "the recording plays another match";

  const net::SyncRun sync = net::syncTestScript(*text, 3, kTicks);
  EXPECT_FALSE(sync.error) << sync.error->message;
  EXPECT_FALSE(sync.failure) << sync.failure->difference;
  EXPECT_EQ(sync.ticks, kTicks);
}

TEST_F(SimRecord, NeverReplacesItsScriptAndFailsBeforePlayingWhenItCannotWrite) {
  const std::string script = (dir / "script.zsim").string();
  const std::string text = "start random\ntick 5\n";
  std::ofstream(script) << text;
  SimRun r = simulate({"--script", script, "--record", script});
  EXPECT_EQ(r.status, kExitBad);
  EXPECT_EQ(testing::readWholeFile(script), text);

  r = simulate({"--script", script, "--record", dir.string()});  // a folder
  EXPECT_EQ(r.status, kExitIo);
  EXPECT_TRUE(r.out.empty()) << "nothing is played";
  r = simulate({"--record", ""}, text);
  EXPECT_EQ(r.status, kExitBad);
}

}  // namespace
}  // namespace zelkar::sim
