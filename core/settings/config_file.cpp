#include "settings/config_file.h"

#include <cctype>
#include <cmath>

#include "app/game_state.h"
#include "arena/rounding.h"
#include "input/player_keys.h"
#include "settings/regular_file.h"

namespace zelkar {

namespace {

constexpr int16_t kMinTickInterval = 10;  // ms: the settings window's lower limit

// Editors on some systems put it in front of UTF-8 text.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Length of the number at the start of s (after blanks), 0 when none.
std::size_t numberLength(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return 0;
  // An exponent only counts when digits follow it.
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    std::size_t k = j;
    while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) ++k;
    if (k > j) i = k;
  }
  return i;
}

std::string_view skipBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  return s;
}

}  // namespace

double leadingNumber(std::string_view text) {
  text = skipBlanks(text);
  const std::size_t n = numberLength(text);
  if (n == 0) return 0;
  const double v = std::strtod(std::string(text.substr(0, n)).c_str(), nullptr);
  return std::isfinite(v) ? v : 0;
}

ConfigRead parseConfig(std::string_view text) {
  static constexpr const char* kNames[3] = {"keyboard kind", "tick interval", "sound switch"};
  int16_t values[3] = {};
  std::string intervalText;
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  for (int line = 0; line < 3; ++line) {
    if (text.empty()) {
      return {std::nullopt,
              "line " + std::to_string(line + 1) + " (" + kNames[line] + ") is missing"};
    }
    const std::size_t end = text.find_first_of("\r\n");
    std::string_view row = text.substr(0, end);
    if (end == std::string_view::npos) {
      text = {};
    } else {
      const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
      text.remove_prefix(end + (crlf ? 2 : 1));
    }
    row = skipBlanks(row);
    if (numberLength(row) == 0) {
      return {std::nullopt, "line " + std::to_string(line + 1) + " (" + kNames[line] +
                                ") is not a number: \"" + std::string(row) + "\""};
    }
    // A value that does not fit a 16-bit integer (40000) sticks to the
    // nearest bound; a fraction (12.5) rounds half to even; trailing text
    // after the number (15x) is ignored, as the settings window reads it.
    values[line] = toInt16Clamped(leadingNumber(row));
    if (line == 1) {
      while (!row.empty() && isBlank(row.back())) row.remove_suffix(1);
      intervalText = row;
    }
  }
  ConfigValues v;
  v.keypadMode = values[0];
  // An interval below 10 ms would stop (0) or race the tick; the settings
  // window never writes one, so a hand-edited file is held to the limit.
  v.tickInterval = std::max(values[1], kMinTickInterval);
  v.soundOn = values[2];
  return {v, {}, intervalText};
}

ConfigRead readConfigFile(const std::filesystem::path& path) {
  const FileRead file = readRegularFile(path, kMaxConfigBytes);
  if (!file.ok()) return {std::nullopt, path.string() + " " + file.error};
  ConfigRead r = parseConfig(*file.bytes);
  if (!r.ok()) r.error = path.string() + ": " + r.error;
  return r;
}

std::string formatConfig(int16_t keypadMode, std::string_view opevalText, int16_t soundOn) {
  // The print format of numbers: a blank (or the minus sign), the digits and
  // one trailing blank.
  // Appended piece by piece: GCC 12 at -O3 warns (-Wrestrict, wrongly)
  // about the sum of temporaries that said the same.
  auto printed = [](int16_t v) {
    std::string s(1, v < 0 ? '-' : ' ');
    s += std::to_string(std::abs(int(v)));
    s += ' ';
    return s;
  };
  // A line break typed into the value would shift the lines that follow.
  std::string value;
  for (char c : opevalText)
    if (c != '\r' && c != '\n') value += c;
  return printed(keypadMode) + "\r\n" + value + "\r\n" + printed(soundOn) + "\r\n";
}

void applyConfig(GameState& s, const ConfigValues& v) {
  s.keypadMode = v.keypadMode;
  s.tickInterval = v.tickInterval;
  s.soundOn = v.soundOn;
  // Any other keyboard kind leaves the key table as it was.
  if (v.keypadMode == 0 || v.keypadMode == 1) s.rightKeys = rightPlayerKeys(v.keypadMode);
}

}  // namespace zelkar
