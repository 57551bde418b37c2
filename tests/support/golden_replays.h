// The golden replays in tests/replays (NAME.zrp beside NAME.hashes), for
// every test that plays them all.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace zelkar::testing {

// Every replay file, in name order, so test names stay put.
inline std::vector<std::filesystem::path> goldenReplayFiles() {
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(ZELKAR_REPLAY_DIR))
    if (e.path().extension() == ".zrp") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

// The whole file, or nothing when it cannot be read.
inline std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in) return std::nullopt;
  return text.str();
}

}  // namespace zelkar::testing
