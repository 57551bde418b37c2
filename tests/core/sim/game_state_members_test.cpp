#include "app/game_state_members.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace zelkar {

namespace {

// The member names of GameState as game_state.h declares them, in order.
// Every line of the struct body must be a member, a comment or blank, so a
// member of a kind this reader does not know fails loudly instead of being
// skipped.
std::vector<std::string> declaredMembers() {
  const auto header =
      std::filesystem::path(__FILE__).parent_path() / "../../../core/app/game_state.h";
  std::ifstream in(header);
  if (!in) {
    ADD_FAILURE() << "cannot read " << header;
    return {};
  }
  static const std::regex member(
      R"(^\s*(?:int16_t|int32_t|float|double|Arr<[^>]*>|Arr2<[^>]*>)\s+(\w+)\s*(?:=[^;]*|\{\})?;\s*(//.*)?$)");
  static const std::regex ignorable(R"(^\s*(//.*)?$)");
  std::vector<std::string> names;
  bool inside = false;
  std::string line;
  while (std::getline(in, line)) {
    if (!inside) {
      inside = line.starts_with("struct GameState {");
      continue;
    }
    if (line.starts_with("};")) return names;
    std::smatch m;
    if (std::regex_match(line, m, member))
      names.push_back(m[1]);
    else if (!std::regex_match(line, ignorable))
      ADD_FAILURE() << "unread line: " << line;
  }
  ADD_FAILURE() << "no complete struct GameState in " << header;
  return names;
}

}  // namespace

TEST(GameStateMembers, ListsEveryDeclaredMemberInOrder) {
  const GameState s;
  std::vector<std::string> listed;
  forEachMember(s, [&](const char* name, const auto&) { listed.emplace_back(name); });
  const std::vector<std::string> declared = declaredMembers();
  EXPECT_GT(declared.size(), 100u);  // the reader found the record, not a fragment
  EXPECT_EQ(listed, declared);

  // The same list writes: a reset through it reaches the last member.
  GameState w;
  w.colCoef = 1;
  forEachMember(w, [](const char*, auto& m) { m = {}; });
  EXPECT_EQ(w.colCoef, 0.0f);
}

}  // namespace zelkar
