#include "net/snapshot.h"

#include <utility>
#include <vector>

namespace zelkar::net {

void saveGame(Game& live, Game& saved) {
  std::vector<Picture> aside;
  aside.swap(live.screen.pictures);
  static_cast<GameRecord&>(saved) = static_cast<const GameRecord&>(live);
  aside.swap(live.screen.pictures);
}

void restoreGame(Game& live, const Game& saved) {
  std::vector<Picture> aside;
  aside.swap(live.screen.pictures);
  static_cast<GameRecord&>(live) = static_cast<const GameRecord&>(saved);
  aside.swap(live.screen.pictures);
}

bool samePictures(const Game& a, const Game& b) {
  const auto& pa = a.screen.pictures;
  const auto& pb = b.screen.pictures;
  if (pa.size() != pb.size()) return false;
  for (std::size_t i = 0; i < pa.size(); ++i)
    if (pa[i].width != pb[i].width || pa[i].height != pb[i].height || pa[i].pixels != pb[i].pixels)
      return false;
  return true;
}

}  // namespace zelkar::net
