// zelkar-sim: plays Zelkar without a window from a script of events and
// prints the game record as JSON Lines (see --help).
#include <iostream>
#include <string>
#include <vector>

#include "headless/cli.h"
#include "headless/net_main.h"
#include "headless/net_options.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);  // the output of a long run is large
  const std::vector<std::string> args(argv + 1, argv + argc);
  // Online runs and the sync test need the network and the session, which
  // the plain runner does without.
  if (zelkar::sim::wantsNetRun(args))
    return zelkar::sim::netMain(args, std::cin, std::cout, std::cerr);
  return zelkar::sim::simMain(args, std::cin, std::cout, std::cerr);
}
