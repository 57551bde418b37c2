// The host's and the joiner's address options.
#include "net/address.h"

#include <gtest/gtest.h>

namespace zelkar::net {
namespace {

// A host alone takes the default port; a port follows the last colon.
TEST(JoinAddress, ReadsHostAndPortAndRefusesWhatCannotBeReached) {
  EXPECT_EQ(parseJoinAddress("example.org"), (Endpoint{"example.org", kDefaultPort}));
  EXPECT_EQ(parseJoinAddress("127.0.0.1"), (Endpoint{"127.0.0.1", kDefaultPort}));
  EXPECT_EQ(parseJoinAddress("127.0.0.1:1"), (Endpoint{"127.0.0.1", 1}));
  EXPECT_EQ(parseJoinAddress("box:65535"), (Endpoint{"box", 65535}));
  for (const char* bad : {"", ":41830", "box:", "box:0", "box:65536", "box:-1", "box:+5", "box:12a",
                          "box: 12", "a b", "::1", "fe80::1:80", "box:0099999"})
    EXPECT_FALSE(parseJoinAddress(bad).has_value()) << bad;
}

// A port alone listens everywhere; an address narrows where.
TEST(ListenAddress, ReadsPortAndAddressAndRefusesBadPorts) {
  EXPECT_EQ(parseListenAddress("41830"), (Endpoint{"", 41830}));
  EXPECT_EQ(parseListenAddress("0"), (Endpoint{"", 0}));  // the system picks one
  EXPECT_EQ(parseListenAddress("65535"), (Endpoint{"", 65535}));
  EXPECT_EQ(parseListenAddress("127.0.0.1:5000"), (Endpoint{"127.0.0.1", 5000}));
  for (const char* bad : {"", "65536", "-1", "port", "1 2", ":5000", "127.0.0.1:", "::1:5000"})
    EXPECT_FALSE(parseListenAddress(bad).has_value()) << bad;
}

}  // namespace
}  // namespace zelkar::net
