// The files a run is asked for on the command line: a replay to play, a
// recording and a hash list to write. The replay is read and the names are
// checked before the display is opened; the outputs are opened only once
// start-up goes ahead, all of them or none, so that a refused start never
// cuts a file short.
#pragma once

#include <QString>
#include <QStringList>
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
  QStringList errors;  // every file that failed, and why; empty when all is well

  bool ok() const { return errors.isEmpty(); }
  // The outputs are flushed and closed; true when every line they were
  // given reached them (a failure was told on standard error when it came).
  bool finishOutputs();
};

// Reads the replay and checks that no two files are one: two outputs on
// one file would interleave, an output on the replay would destroy it.
// Nothing is created or written.
void checkRunFiles(const CommandLine& options, RunFiles& files);
// Opens the recording and the hash list: first every one is tried without
// emptying it, and only when all can be written are they emptied and begun.
// On a failure the files this call made are removed again.
void openOutputs(const CommandLine& options, RunFiles& files);

// Both, in order: what a start needs when the display is known to work.
RunFiles openRunFiles(const CommandLine& options);

// Whether `a` and `b` name one file, through links and "..": the same inode
// when both exist, else the same place in canonical folders. A device (as
// /dev/null) may serve several outputs.
bool sameFile(const QString& a, const QString& b);

}  // namespace zelkar::qt
