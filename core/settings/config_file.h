// config.txt: three lines, each ended by CR LF: keyboard kind, tick
// interval in ms (the operability value), sound switch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace zelkar {

struct GameState;

struct ConfigValues {
  int16_t keypadMode = 1;     // 1 numeric keypad, 0 letter keys, other: no keys
  int16_t tickInterval = 10;  // ms
  int16_t soundOn = 0;        // 1 on
};

// The result of reading the settings: values, or the reason they could not
// be read (shown to whoever asked; at start-up the settings window opens).
struct ConfigRead {
  ConfigRead() = default;
  ConfigRead(std::optional<ConfigValues> v, std::string why, std::string interval = {})
      : values(std::move(v)), error(std::move(why)), intervalText(std::move(interval)) {}

  std::optional<ConfigValues> values;
  std::string error;
  // Line 2 as the file has it, blanks around it dropped: the settings
  // window shows this rather than the value held to the limits, so that a
  // hand-edited 5 is seen (and refused at save), not quietly made 10.
  std::string intervalText;
  bool ok() const { return values.has_value(); }
};

// Three short lines are a few bytes; anything this large is not a settings
// file, and reading it whole would only cost time and memory.
inline constexpr std::size_t kMaxConfigBytes = 4096;

// The leading number of a text as the settings window and the start panel
// read it: blanks skipped, reading stops at the first character that cannot
// continue a number, no leading number reads as 0.
double leadingNumber(std::string_view text);

// Lines may end in CR LF (as written), LF or CR alone; a UTF-8 byte-order
// mark that an editor put in front is skipped.
ConfigRead parseConfig(std::string_view text);
// Only a regular file of at most kMaxConfigBytes is read.
ConfigRead readConfigFile(const std::filesystem::path& path);

// The file's text: lines 1 and 3 in the print format of numbers (" 1 "),
// line 2 the operability text exactly as typed.
std::string formatConfig(int16_t keypadMode, std::string_view opevalText, int16_t soundOn);

// keypadMode, tickInterval, soundOn and the right player's key table.
void applyConfig(GameState& s, const ConfigValues& v);

}  // namespace zelkar
