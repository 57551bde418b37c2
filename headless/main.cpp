// zelkar-sim: plays Zelkar without a window from a script of events and
// prints the game record as JSON Lines (see --help).
#include <sys/stat.h>

#include <iostream>
#include <string>
#include <vector>

#include "headless/cli.h"
#include "headless/cpu_seat.h"
#include "headless/net_main.h"
#include "headless/net_options.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);  // the output of a long run is large
  const std::vector<std::string> args(argv + 1, argv + argc);
  // Online runs and the sync test need the network and the session, which
  // the plain runner does without.
  if (zelkar::sim::wantsNetRun(args))
    return zelkar::sim::netMain(args, std::cin, std::cout, std::cerr);
  // `zelkar-sim < /` reads a folder as an empty script: say so instead.
  struct stat in = {};
  const bool inIsFolder = ::fstat(0, &in) == 0 && S_ISDIR(in.st_mode);
  return zelkar::sim::simMain(args, std::cin, std::cout, std::cerr,
                              inIsFolder ? "is a folder, not a script" : "",
                              zelkar::sim::cpuSeats());
}
