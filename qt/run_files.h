// The files a run is asked for on the command line: a replay to play, a
// recording and a hash list to write. They are read and opened before the
// game starts, so that a broken replay or a file that cannot be written
// stops the program before anything is played.
#pragma once

#include <QString>
#include <memory>

#include "qt/command_line.h"
#include "qt/hash_log.h"
#include "qt/recorder.h"
#include "qt/replayer.h"

namespace zelkar::qt {

struct RunFiles {
  std::unique_ptr<Replayer> replay;
  std::unique_ptr<Recorder> recorder;
  std::unique_ptr<HashLog> hashes;
  QString error;  // the first file that failed, and why; empty when all is well
};

// The replay is read first: a refused replay leaves no file created.
RunFiles openRunFiles(const CommandLine& options);

}  // namespace zelkar::qt
