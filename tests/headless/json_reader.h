// A small strict JSON reader for the runner's tests: lines are read back as
// a consumer would read them. Numbers keep their text, so tests can read
// them as float or double.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelkar::sim::test {

struct Json {
  enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
  bool boolean = false;
  std::string text;  // a number's text or a string's value
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> fields;  // in the order written

  const Json& operator[](std::string_view name) const {
    for (const auto& [k, v] : fields)
      if (k == name) return v;
    throw std::out_of_range("no field " + std::string(name));
  }
  const Json& operator[](std::size_t i) const { return items.at(i); }
};

// Throws std::runtime_error on anything that is not exactly one JSON value.
Json parseJson(std::string_view text);

}  // namespace zelkar::sim::test
