// zelkar-sim's --meet: a code instead of an address, the session code
// taken from the meeting point, and what it cannot be combined with.
#include <gtest/gtest.h>

#include "headless/net_options.h"

namespace zelkar::sim {
namespace {

TEST(SimMeetOptions, CodeOrAddress) {
  NetOptions j;
  EXPECT_EQ(parseNetOptions({"--meet", "meet.example", "--join", "abcd-2345"}, j), "");
  EXPECT_EQ(j.meet, (net::Endpoint{"meet.example", 41831}));
  EXPECT_EQ(j.joinCode, "ABCD2345");
  NetOptions h;
  EXPECT_EQ(parseNetOptions({"--host", "0", "--meet", "198.18.0.1:7"}, h), "");
  EXPECT_EQ(h.meet, (net::Endpoint{"198.18.0.1", 7}));
  EXPECT_FALSE(h.online.code);  // the meeting point's code will guard the greeting
  NetOptions d;                 // without --meet, --join still takes an address
  EXPECT_EQ(parseNetOptions({"--join", "box:7", "--code", "K"}, d), "");
  EXPECT_EQ(d.online.endpoint, (net::Endpoint{"box", 7}));

  const std::vector<std::vector<std::string>> wrong = {
      {"--meet", "m", "--join", "box:7"},     // an address is no code
      {"--meet", "m", "--join", "ABCD2O45"},  // O is not in the alphabet
      {"--meet", "m:0", "--host", "0"},       // no port 0 to send to
      {"--meet", "m", "--sync-test", "2"},    // nothing to meet
      {"--join", "box:7"},                    // direct still needs its code
  };
  for (const auto& args : wrong) {
    NetOptions o;
    EXPECT_NE(parseNetOptions(args, o), "") << args[0] << " " << args[1] << " " << args[3];
  }
}

}  // namespace
}  // namespace zelkar::sim
