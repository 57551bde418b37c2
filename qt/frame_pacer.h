// When the main window shows a changed frame. A screen shows a new picture
// once per refresh (60 a second on most), while the game may tick 100
// times a second or more: a frame painted and sent to the display server
// between two refreshes is overwritten before anyone sees it, and painting
// and sending it is most of what a tick costs. So a change is shown at
// once when the last frame is at least one refresh old, and otherwise with
// the next change that comes late enough; a change that nothing follows is
// shown by a wake-up of its own a little later. Every frame shown is still
// the whole, current state of the game.
#pragma once

#include <cstdint>

namespace zelkar::qt {

class FramePacer {
 public:
  // A deferred change waits this much past the refresh for a tick to show
  // it, ms: one tick at the usual interval, so that during a match the
  // ticks do the showing and no wake-up is spent on it.
  static constexpr int64_t kGraceMs = 10;

  // `refreshHz` as the screen reports it; nonsense (0 when unknown) counts
  // as 60 Hz, the commonest refresh.
  explicit FramePacer(double refreshHz = 60) { setRefreshHz(refreshHz); }
  // The window moved to another screen; the last frame shown still counts.
  void setRefreshHz(double refreshHz);

  // The screen's refresh interval, ms (rounded down: never less often).
  int64_t frameMs() const { return frameMs_; }

  // A change is waiting at `nowMs`: 0 when it should be shown now,
  // otherwise the ms to wait before showing it all the same.
  int64_t waitBeforeShowing(int64_t nowMs) const;

  // A frame reached the screen at `nowMs`.
  void shown(int64_t nowMs) { lastShownMs_ = nowMs; }

 private:
  int64_t frameMs_;
  int64_t lastShownMs_ = INT64_MIN / 2;  // long ago: the first change shows at once
};

}  // namespace zelkar::qt
