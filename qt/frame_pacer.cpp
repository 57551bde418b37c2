#include "qt/frame_pacer.h"

#include <algorithm>
#include <cmath>

namespace zelkar::qt {

namespace {

constexpr double kUsualHz = 60;
// Screens refresh between about 24 and 500 times a second; anything else
// is a wrong report.
constexpr double kLowestHz = 24, kHighestHz = 500;

}  // namespace

void FramePacer::setRefreshHz(double refreshHz) {
  if (!std::isfinite(refreshHz) || refreshHz < kLowestHz || refreshHz > kHighestHz)
    refreshHz = kUsualHz;
  frameMs_ = int64_t(1000 / refreshHz);
}

int64_t FramePacer::waitBeforeShowing(int64_t nowMs) const {
  // A clock that went back (only a test's can) counts as no time at all.
  const int64_t since = std::max<int64_t>(0, nowMs - lastShownMs_);
  if (since >= frameMs_) return 0;
  return frameMs_ - since + kGraceMs;
}

}  // namespace zelkar::qt
