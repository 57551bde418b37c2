// An online or sync-test run of zelkar-sim reads its script by the rules of
// every script and opens its recording before anyone waits for a match:
// a bad file is said at once, not after a session (or never, for a device
// read without end). Run in-process; nothing here reaches the network.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "headless/cli.h"
#include "headless/net_main.h"

namespace zelkar::sim {
namespace {

namespace fs = std::filesystem;

TEST(SimNetFiles, ScriptAndRecordingAreCheckedBeforeTheSession) {
  const fs::path dir =
      fs::temp_directory_path() / ("zelkar-net-files-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string fifo = (dir / "fifo").string(), script = (dir / "s.zsim").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::ofstream(script) << "tick 10\n";
  const std::vector<std::string> host = {"--host", "127.0.0.1:0", "--code", "C"};
  auto with = [](std::vector<std::string> a, std::initializer_list<std::string> more) {
    a.insert(a.end(), more);
    return a;
  };
  const struct {
    std::vector<std::string> args;
    std::string said;
  } refused[] = {
      {{"--sync-test", "2", "--script", "/dev/zero"}, "is a device"},
      {with(host, {"--script", fifo}), "is a pipe"},
      {with(host, {"--script", script, "--record", dir.string()}), "cannot write"},
      {with(host, {"--script", script, "--record", (dir / "none" / "r.zrp").string()}),
       "cannot write"},
  };
  for (const auto& c : refused) {
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(netMain(c.args, in, out, err), kExitIo) << c.said;
    EXPECT_NE(err.str().find(c.said), std::string::npos) << err.str();
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace zelkar::sim
