// What the computer player reads of the arena's pixels: the capture the
// last tick's probes read, with the pictures it names. The same colours a
// shell would meet, so a line of fire is judged as the game judges hits.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/picture.h"
#include "ui/probe_surface.h"

namespace zelkar::cpu {

class PixelReader {
 public:
  PixelReader(const ProbeSurface& probe, const std::vector<Picture>& pictures)
      : probe_(probe), pictures_(pictures) {}
  int32_t getPixel(int x, int y) const { return probe_.getPixel(pictures_, x, y); }

 private:
  const ProbeSurface& probe_;
  const std::vector<Picture>& pictures_;
};

}  // namespace zelkar::cpu
