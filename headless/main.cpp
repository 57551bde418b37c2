// zelkar-sim: plays Zelkar without a window from a script of events and
// prints the game record as JSON Lines (see --help).
#include <iostream>
#include <string>
#include <vector>

#include "headless/cli.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);  // the output of a long run is large
  const std::vector<std::string> args(argv + 1, argv + argc);
  return zelkar::sim::simMain(args, std::cin, std::cout, std::cerr);
}
