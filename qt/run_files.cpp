#include "qt/run_files.h"

namespace zelkar::qt {

namespace {

// zelkar-sim's seed when neither the file nor --seed gives one.
constexpr uint32_t kDefaultReplaySeed = 0;

}  // namespace

RunFiles openRunFiles(const CommandLine& options) {
  RunFiles files;
  if (!options.replayPath.isEmpty()) {
    Replayer::Read read =
        Replayer::fromFile(options.replayPath, options.seed.value_or(kDefaultReplaySeed));
    if (!read.replay) {
      files.error = read.error;
      return files;
    }
    files.replay = std::move(read.replay);
  }
  if (!options.recordPath.isEmpty()) {
    files.recorder = std::make_unique<Recorder>(options.recordPath);
    if (!files.recorder->isOpen()) {
      files.error = files.recorder->error();
      return files;
    }
  }
  if (!options.hashesPath.isEmpty()) {
    files.hashes = std::make_unique<HashLog>(options.hashesPath);
    if (!files.hashes->isOpen()) files.error = files.hashes->error();
  }
  return files;
}

}  // namespace zelkar::qt
