#include "app/state_hash.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <type_traits>
#include <vector>

#include "app/game_state_members.h"
#include "app/hasher.h"

namespace zelkar {

namespace {

// The sprites whose geometry the probes read, each group with its name.
template <typename Visitor>
void forEachSpriteGroup(const ScreenModel& sc, Visitor&& visit) {
  visit("kyara", sc.kyara);
  visit("kiti", sc.kiti);
  visit("tiri", sc.tiri);
  visit("kabe", sc.kabe);
  visit("houdan", sc.houdan);
  visit("baku", sc.baku);
  visit("tamabaku", sc.tamabaku);
}

// The fields of a sprite that decide what is drawn where, widened to one
// type so that they hash as one padding-free block.
std::array<int16_t, 6> spriteFields(const Item& it) {
  return {it.left, it.top, it.width, it.height, static_cast<int16_t>(it.visible), it.picture};
}
constexpr std::array<const char*, 6> kSpriteFieldNames = {"left",   "top",     "width",
                                                          "height", "visible", "picture"};

std::array<float, 4> lineEnds(const GunLine& l) { return {l.x1, l.y1, l.x2, l.y2}; }
constexpr std::array<const char*, 4> kLineEndNames = {"x1", "y1", "x2", "y2"};

// The flags of the Game value. The timer's interval is left out on purpose:
// only whether it runs feeds the match, not how fast.
std::array<uint8_t, 4> gameFlags(const Game& g) {
  return {g.awaitingAnswer, g.ended, g.matchStarted, g.screen.timer1Interval > 0};
}
constexpr std::array<const char*, 4> kFlagNames = {"awaitingAnswer", "ended", "matchStarted",
                                                   "running"};

template <typename Skip>
uint64_t hashGame(const Game& g, Skip&& skip) {
  Hasher h;
  forEachMember(g.s, [&](MemberName name, const auto& v) {
    if (!skip(std::string_view(name))) h.named(name.id, v);
  });
  // The tables fixed for the match count by their fingerprint, taken when
  // they were made: they cannot change afterwards.
  h.named(nameId("tables"), g.s.tables().fingerprint);
  h.named(nameId("rng"), g.rng.state());
  h.named(nameId("flags"), gameFlags(g));
  forEachSpriteGroup(g.screen, [&](std::string_view, const auto& items) {
    for (const Item& it : items) h.value(spriteFields(it));
  });
  for (const GunLine& l : g.screen.hline) h.value(lineEnds(l));
  return h.result();
}

// --- naming the first difference

template <typename T>
std::string show(T v) {
  if constexpr (std::is_same_v<T, bool> || sizeof(T) == 1) {
    return std::to_string(static_cast<int>(v));
  } else {
    std::array<char, 64> buf{};
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), v);
    return std::string(buf.data(), r.ptr);
  }
}

// Descends into arrays only where their bytes differ, so that the path
// names the first differing element: "shellX[1][3]".
template <typename T>
bool differs(const std::string& path, const T& a, const T& b, std::string& out) {
  static_assert(Packed<T>::value);
  if (std::memcmp(&a, &b, sizeof a) == 0) return false;
  if constexpr (std::is_arithmetic_v<T>) {
    out = path + ": " + show(a) + " vs " + show(b);
  } else {
    for (std::size_t i = 0; i < a.size(); ++i)
      if (differs(path + "[" + std::to_string(i) + "]", a[i], b[i], out)) break;
  }
  return true;
}

// Compares field by field, naming each one "group[i].field".
template <typename T, std::size_t N>
bool fieldsDiffer(const std::string& path, const std::array<T, N>& a, const std::array<T, N>& b,
                  const std::array<const char*, N>& names, std::string& out) {
  for (std::size_t k = 0; k < N; ++k)
    if (differs(path + names[k], a[k], b[k], out)) return true;
  return false;
}

}  // namespace

uint64_t stateHash(const Game& g) {
  return hashGame(g, [](std::string_view) { return false; });
}

uint64_t stateHashWithout(const Game& g, std::initializer_list<std::string_view> skipped) {
  return hashGame(g, [skipped](std::string_view name) {
    return std::find(skipped.begin(), skipped.end(), name) != skipped.end();
  });
}

std::string firstDifference(const Game& a, const Game& b) {
  std::string out;
  // The same list walks both records in the same order: b's members are
  // taken first, then paired with a's one by one.
  std::vector<const void*> others;
  forEachMember(b.s, [&](std::string_view, const auto& v) { others.push_back(&v); });
  std::size_t i = 0;
  bool found = false;
  forEachMember(a.s, [&](std::string_view name, const auto& v) {
    using T = std::remove_cvref_t<decltype(v)>;
    const T& w = *static_cast<const T*>(others[i++]);
    if (!found) found = differs(std::string(name), v, w, out);
  });
  if (found) return out;
  const MatchTables& ta = a.s.tables();
  const MatchTables& tb = b.s.tables();
  if (ta.fingerprint != tb.fingerprint) {
    std::vector<const void*> otherTables;
    forEachTable(tb, [&](std::string_view, const auto& v) { otherTables.push_back(&v); });
    std::size_t t = 0;
    forEachTable(ta, [&](std::string_view name, const auto& v) {
      using T = std::remove_cvref_t<decltype(v)>;
      const T& w = *static_cast<const T*>(otherTables[t++]);
      if (!found) found = differs(std::string(name), v, w, out);
    });
    if (found) return out;
  }
  if (differs("rng", a.rng.state(), b.rng.state(), out)) return out;
  if (fieldsDiffer("", gameFlags(a), gameFlags(b), kFlagNames, out)) return out;

  // The groups are walked in the same order for both screens.
  std::vector<const Item*> otherItems;
  forEachSpriteGroup(b.screen, [&](std::string_view, const auto& items) {
    for (const Item& it : items) otherItems.push_back(&it);
  });
  std::size_t k = 0;
  forEachSpriteGroup(a.screen, [&](std::string_view group, const auto& items) {
    for (std::size_t n = 0; n < items.size(); ++n) {
      const Item& other = *otherItems[k++];
      if (found) continue;
      const std::string path = std::string(group) + "[" + std::to_string(n) + "].";
      found =
          fieldsDiffer(path, spriteFields(items[n]), spriteFields(other), kSpriteFieldNames, out);
    }
  });
  if (found) return out;
  for (std::size_t p = 0; p < a.screen.hline.size(); ++p) {
    const std::string path = "hline[" + std::to_string(p) + "].";
    if (fieldsDiffer(path, lineEnds(a.screen.hline[p]), lineEnds(b.screen.hline[p]), kLineEndNames,
                     out))
      return out;
  }
  return {};
}

}  // namespace zelkar
