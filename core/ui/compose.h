// The whole probe view of the main window as one image: what the probes
// would read at every client pixel. For tests and for the front end's
// debugging view; the tick uses ProbeSurface, which reads single pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/screen_model.h"

namespace zelkar {

// Fills out with kClientWidth x kClientHeight colours, row by row, painting
// the items bottom first: sprites through their stretched pictures with
// key-colour pixels left out, every other widget as a box of its back
// colour (labels without their text, as the probes see them).
void composeArena(const ScreenModel& screen, std::vector<int32_t>& out);

}  // namespace zelkar
