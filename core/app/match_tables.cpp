#include "app/game_state_members.h"

namespace zelkar {

std::shared_ptr<const MatchTables> freeze(const MatchTables& t) {
  auto frozen = std::make_shared<MatchTables>(t);
  Hasher h;
  forEachTable(*frozen, [&](MemberName name, const auto& v) { h.named(name.id, v); });
  frozen->fingerprint = h.result();
  return frozen;
}

}  // namespace zelkar
