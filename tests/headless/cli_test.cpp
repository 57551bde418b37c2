// zelkar-sim's command line: its options, its exit status, its recording,
// and what it reads: only regular script files within the size limit and
// replays whose last line is whole; and messages that cannot act on the
// terminal. The
// seed's reading is tested beside zelkar's own.
#include "headless/cli.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "events/script.h"
#include "headless/cpu_seat.h"
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
  SimRun r;
  r.status = simMain(args, in, out, err, inProblem, seats);
  r.out = out.str();
  r.err = err.str();
  return r;
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

  r = simulate({}, "config 1 10 1\n\n  # fine so far\nstart random sideways\ntick\n");
  EXPECT_EQ(r.status, kExitBad);
  EXPECT_TRUE(r.out.empty());  // nothing is played from a bad script
  EXPECT_NE(r.err.find("line 4"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("sideways"), std::string::npos) << r.err;

  // A runner built without the computer refuses its line instead of
  // playing the match without it.
  r = simulate({}, "start random\ncpu right 2\ntick 5\n");
  EXPECT_EQ(r.status, kExitBad);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("line 2: cpu"), std::string::npos) << r.err;

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
// a pipe; standard input that is a folder is an error, not an empty script.
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
}

// What is a regular file is readRegularFile's rule (RegularFileTest);
// standard input that the caller found to be a folder is refused, but not
// when the script comes from a file.
TEST_F(SimInputs, StandardInputThatIsAFolderIsRefused) {
  const SimRun folder = simulate({}, "", "is a folder, not a script");
  EXPECT_EQ(folder.status, kExitIo);
  EXPECT_EQ(folder.err, "zelkar-sim: standard input is a folder, not a script\n");
  std::ofstream(dir / "ok.zsim") << "tick\n";
  EXPECT_EQ(simulate({"--script", (dir / "ok.zsim").string()}, "", "is a folder").status, kExitOk);
}

TEST_F(SimInputs, AScriptLargerThanTheLimitIsRefusedFromAFileAndFromInput) {
  // Comment lines: a script at the limit is read and played.
  const std::string line = "# " + std::string(97, '-') + "\n";  // 100 bytes
  std::string atLimit;
  while (atLimit.size() + line.size() <= kMaxScriptBytes) atLimit += line;
  atLimit += std::string(kMaxScriptBytes - atLimit.size() - 1, '#') + "\n";
  ASSERT_EQ(atLimit.size(), kMaxScriptBytes);
  std::ofstream(dir / "at.zsim", std::ios::binary) << atLimit;
  std::ofstream(dir / "over.zsim", std::ios::binary) << atLimit << "\n";
  EXPECT_EQ(simulate({"--script", (dir / "at.zsim").string()}).status, kExitOk);
  const SimRun over = simulate({"--script", (dir / "over.zsim").string()});
  EXPECT_EQ(over.status, kExitIo);
  EXPECT_NE(over.err.find("is larger than 16777216 bytes"), std::string::npos) << over.err;

  EXPECT_EQ(simulate({}, atLimit).status, kExitOk);
  const SimRun overIn = simulate({}, atLimit + "\n");
  EXPECT_EQ(overIn.status, kExitIo);
  EXPECT_NE(overIn.err.find("larger than 16777216 bytes"), std::string::npos) << overIn.err;
}

TEST_F(SimInputs, AReplayCutInItsLastLineIsRefusedAPlainScriptIsNot) {
  // "down 100" cut to "down 10" would press another key.
  const SimRun cut = simulate({}, "zelkar-replay 1\nseed 1\nstart random\ndown 10");
  EXPECT_EQ(cut.status, kExitBad);
  EXPECT_NE(cut.err.find("line 4: the last line has no line break"), std::string::npos) << cut.err;
  EXPECT_TRUE(cut.out.empty());
  EXPECT_EQ(simulate({}, "zelkar-replay 1\nseed 1\nstart random\ndown 10\n").status, kExitOk);
  // A cut comment carries no event; a hand-written script needs no break.
  EXPECT_EQ(simulate({}, "zelkar-replay 1\nseed 1\n# cut comm").status, kExitOk);
  EXPECT_EQ(simulate({}, "seed 1\ntick 3").status, kExitOk);
  // The same rule on a Windows line end: CR LF is whole, a lone CR is cut.
  EXPECT_EQ(simulate({}, "zelkar-replay 1\r\ntick\r\n").status, kExitOk);
  EXPECT_EQ(simulate({}, "zelkar-replay 1\r\ntick\r").status, kExitBad);
}

TEST_F(SimInputs, MessagesShowControlCharactersEscaped) {
  const SimRun r = simulate({}, std::string("start\x1B[2J\0x\n", 12));
  EXPECT_EQ(r.status, kExitBad);
  EXPECT_NE(r.err.find("start\\x1B[2J\\x00x"), std::string::npos) << r.err;
  for (char c : r.err) EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << int(c);
  const SimRun option = simulate({"--dump", "\x07"});
  EXPECT_NE(option.err.find("\\x07"), std::string::npos) << option.err;
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
