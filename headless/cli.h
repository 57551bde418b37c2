// The command line of zelkar-sim, apart from main so that tests can run it
// in-process with string streams.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "headless/seat.h"

namespace zelkar::sim {

inline constexpr int kExitOk = 0;
inline constexpr int kExitIo = 1;   // the script could not be read, or the output written
inline constexpr int kExitBad = 2;  // a bad option or a bad command

// args: the arguments after the program name. The script is read from
// `in` when no --script is given; `inProblem`, when not empty, is what the
// caller found wrong with standard input ("is a folder"), told instead of
// reading it. `seats` plays the `cpu` lines; a script with such a line is
// refused when there is none.
int simMain(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
            std::ostream& err, const std::string& inProblem = {}, const SeatMaker& seats = {});

// The one way every mode of zelkar-sim reads its script: the file at
// `path` through the regular-file and size rules, or (path empty) `in` up
// to the same size. Nullopt after telling `err` why; `inProblem` as above.
std::optional<std::string> readScriptInput(const std::string& path, std::istream& in,
                                           std::ostream& err, const std::string& inProblem = {});

}  // namespace zelkar::sim
