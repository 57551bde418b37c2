// The probe surface: what GetPixel reads. Probes read the arena as it stood
// when the tick began, so the tick captures the drawn geometry first and
// every probe of that tick reads the capture.
#pragma once

#include <cstdint>

#include "ui/screen_model.h"

namespace zelkar {

inline constexpr int32_t kNoPixel = static_cast<int32_t>(0xFFFFFFFF);  // outside the client area

class ProbeSurface {
 public:
  // Takes the positions, sizes, visibility and pictures of everything drawn
  // on the main window. Never allocates: it runs at the start of every tick.
  void capture(const ScreenModel& screen);
  // The colour of the topmost drawn thing at client pixel (x, y), blue in
  // the high byte; kNoPixel outside the client area.
  int32_t getPixel(int x, int y) const;
};

}  // namespace zelkar
