// The host's and the joiner's address options.
#include <gtest/gtest.h>

#include "net/enet_address.h"

namespace zelkar::net {
namespace {

TEST(JoinAddress, HostAloneTakesTheDefaultPort) {
  EXPECT_EQ(parseJoinAddress("example.org"), (Endpoint{"example.org", kDefaultPort}));
  EXPECT_EQ(parseJoinAddress("127.0.0.1"), (Endpoint{"127.0.0.1", kDefaultPort}));
}

TEST(JoinAddress, PortAfterTheLastColon) {
  EXPECT_EQ(parseJoinAddress("127.0.0.1:1"), (Endpoint{"127.0.0.1", 1}));
  EXPECT_EQ(parseJoinAddress("box:65535"), (Endpoint{"box", 65535}));
}

TEST(JoinAddress, RefusesWhatCannotBeReached) {
  for (const char* bad : {"", ":41830", "box:", "box:0", "box:65536", "box:-1", "box:+5", "box:12a",
                          "box: 12", "a b", "::1", "fe80::1:80", "box:0099999"})
    EXPECT_FALSE(parseJoinAddress(bad).has_value()) << bad;
}

TEST(ListenAddress, PortAloneListensEverywhere) {
  EXPECT_EQ(parseListenAddress("41830"), (Endpoint{"", 41830}));
  EXPECT_EQ(parseListenAddress("0"), (Endpoint{"", 0}));  // the system picks one
  EXPECT_EQ(parseListenAddress("65535"), (Endpoint{"", 65535}));
}

TEST(ListenAddress, AddressNarrowsWhereItListens) {
  EXPECT_EQ(parseListenAddress("127.0.0.1:5000"), (Endpoint{"127.0.0.1", 5000}));
}

TEST(ListenAddress, RefusesBadPorts) {
  for (const char* bad : {"", "65536", "-1", "port", "1 2", ":5000", "127.0.0.1:", "::1:5000"})
    EXPECT_FALSE(parseListenAddress(bad).has_value()) << bad;
}

}  // namespace
}  // namespace zelkar::net
