#include "headless/cli.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "json_reader.h"

namespace zelkar::sim {

namespace {

struct SimRun {
  int status = -1;
  std::string out, err;
};

SimRun simulate(const std::vector<std::string>& args, const std::string& script = "") {
  std::istringstream in(script);
  std::ostringstream out, err;
  SimRun r;
  r.status = simMain(args, in, out, err);
  r.out = out.str();
  r.err = err.str();
  return r;
}

std::filesystem::path writeScript(const std::string& name, const std::string& text) {
  const auto path =
      std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()) + ".zsim");
  std::ofstream(path) << text;
  return path;
}

}  // namespace

TEST(SimCli, AScriptWithoutEventsPrintsTheOpenedWindowOnce) {
  const SimRun r = simulate({}, "# nothing but settings\nconfig 0 20 1\n");
  ASSERT_EQ(r.status, kExitOk) << r.err;
  ASSERT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
  const test::Json j = test::parseJson(r.out.substr(0, r.out.size() - 1));
  EXPECT_EQ(j["tick"].text, "0");
  EXPECT_FALSE(j["running"].boolean);
  EXPECT_FALSE(j["ended"].boolean);
}

TEST(SimCli, BadCommandsAndOptionsStopWithStatusTwo) {
  SimRun r = simulate({}, "config 1 10 1\n\n  # fine so far\nstart random sideways\ntick\n");
  EXPECT_EQ(r.status, kExitBad);
  EXPECT_TRUE(r.out.empty());  // nothing is played from a bad script
  EXPECT_NE(r.err.find("line 4"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("sideways"), std::string::npos) << r.err;

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--dump", "often"}, {"--seed", "-4"}, {"--seed"}, {"--fast"}}) {
    r = simulate(args);
    EXPECT_EQ(r.status, kExitBad) << args[0];
    EXPECT_NE(r.err.find("usage"), std::string::npos);
  }
}

TEST(SimCli, HelpAndUnreadableScripts) {
  SimRun r = simulate({"--help"});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_NE(r.out.find("--dump ticks|end"), std::string::npos);
  r = simulate({"--script", "/nonexistent/zelkar/script"});
  EXPECT_EQ(r.status, kExitIo);
  EXPECT_NE(r.err.find("does not exist"), std::string::npos) << r.err;
  r = simulate({"--script", std::filesystem::temp_directory_path().string()});
  EXPECT_EQ(r.status, kExitIo);
}

TEST(SimCli, TheProgramExitsWithTheRunnersStatus) {
  const auto bad = writeScript("zelkar-sim-bad", "tick\ntick twice\n");
  const auto good = writeScript("zelkar-sim-good", "seed 9\ntick 2\n");
  const std::string sim = ZELKAR_SIM_PATH;
  const int badStatus =
      std::system((sim + " --script " + bad.string() + " >/dev/null 2>&1").c_str());
  ASSERT_TRUE(WIFEXITED(badStatus));
  EXPECT_EQ(WEXITSTATUS(badStatus), kExitBad);

  FILE* pipe = ::popen((sim + " --dump end --script " + good.string()).c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string out;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
  const int goodStatus = ::pclose(pipe);
  ASSERT_TRUE(WIFEXITED(goodStatus));
  EXPECT_EQ(WEXITSTATUS(goodStatus), kExitOk);
  ASSERT_EQ(std::count(out.begin(), out.end(), '\n'), 1);
  EXPECT_NO_THROW(test::parseJson(out.substr(0, out.size() - 1)));
  std::filesystem::remove(bad);
  std::filesystem::remove(good);
}

}  // namespace zelkar::sim
