#include "qt/hash_log.h"

#include "app/state_hash.h"
#include "headless/replay.h"

namespace zelkar::qt {

namespace {

// Hand the lines to the system about once a second at the usual 10 ms: a
// killed program loses little, and no tick waits for the disk.
constexpr int64_t kLinesPerFlush = 100;

}  // namespace

HashLog::HashLog(const QString& path) : file_(path, "hash list") {}

HashLog::~HashLog() { file_.finish(); }

void HashLog::tickRan(const Game& g) {
  ++ticks_;
  file_.write(sim::hashLine(ticks_, stateHash(g)));
  if (ticks_ % kLinesPerFlush == 0) file_.flush();
}

}  // namespace zelkar::qt
