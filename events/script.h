// The script of the headless runner: one command a line, `#` starts a
// comment, blank lines are ignored. The same format is the replay file, so
// it must read back exactly what a recording wrote.
//
// Words are separated by blanks. A text (the count box, the answer box) that
// is empty or holds blanks, `#` or a leading `"` is written in double quotes,
// with `""` standing for one quote inside: scriptText() writes that form.
// A line break cannot be written; the boxes hold one line.
//
// A replay file starts with the line `zelkar-replay 1`, the format's name
// and version. A script without that line is read as the current version;
// a file naming another version is refused as a whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/computer_levels.h"
#include "settings/config_file.h"

namespace zelkar::sim {

inline constexpr std::string_view kReplayFormat = "zelkar-replay";

// The settings of a script or replay until a `config` line names others,
// as `config 1 10 1` would: the keypad, 10 ms a tick, sound on.
inline constexpr ConfigValues kScriptConfig{1, 10, 1};
inline constexpr int kReplayVersion = 1;

struct SeedCommand {
  uint32_t seed = 0;  // the generator's state
  bool operator==(const SeedCommand&) const = default;
};
struct ConfigCommand {
  ConfigValues values;  // as config.txt with these three lines would give them
  bool operator==(const ConfigCommand& o) const {
    return values.keypadMode == o.values.keypadMode &&
           values.tickInterval == o.values.tickInterval && values.soundOn == o.values.soundOn;
  }
};
struct StartCommand {
  bool given = false;  // "指定" selected (else "乱数個")
  std::string text;    // typed into the count box; only when given
  bool friction = false;
  bool operator==(const StartCommand&) const = default;
};
struct KeyDownCommand {
  int16_t keyCode = 0;  // Windows virtual-key code
  int16_t shift = 0;    // 1 Shift, 2 Ctrl, 4 Alt
  bool operator==(const KeyDownCommand&) const = default;
};
struct KeyUpCommand {
  int16_t keyCode = 0;
  bool operator==(const KeyUpCommand&) const = default;
};
struct TickCommand {
  int64_t count = 1;
  bool operator==(const TickCommand&) const = default;
};
struct AnswerCommand {
  std::string text;  // typed into the answer box
  bool operator==(const AnswerCommand&) const = default;
};

// From this line on the computer plays that side: before each tick it
// sends the side's keys as a person would.
struct CpuCommand {
  int side = 0;                  // 0 the right player, 1 the left player
  int level = kDefaultCpuLevel;  // kMinCpuLevel..kMaxCpuLevel
  bool operator==(const CpuCommand&) const = default;
};

using Command = std::variant<SeedCommand, ConfigCommand, StartCommand, KeyDownCommand, KeyUpCommand,
                             TickCommand, AnswerCommand, CpuCommand>;

struct ScriptLine {
  int line = 0;  // 1-based line number in the script
  Command command;
};

struct ScriptError {
  int line = 0;
  std::string message;
};

struct ParsedScript {
  std::vector<ScriptLine> commands;
  std::optional<ScriptError> error;  // the first bad line; commands then stop before it
};

// Parses a whole script. Every line is checked before anything runs, so a
// bad line late in a script never leaves a half-played match behind. A
// replay file (one with the format line) must end with a line break: a
// last line without one was cut off while being written, and "down 10"
// cut from "down 100" would play another key. A file opened as a replay
// (the window's --replay) is one whether or not it has the format line.
enum class ScriptSource : uint8_t { Script, ReplayFile };
ParsedScript parseScript(std::string_view text, ScriptSource source = ScriptSource::Script);

// A text as one script word: as is when it reads back unchanged, else quoted.
std::string scriptText(std::string_view text);

// One command as a script line, without the line break; parseScript reads
// it back as the same command.
std::string scriptLine(const Command& command);
// A whole replay file: the format line, then one line a command.
std::string replayText(const std::vector<Command>& commands);

// A whole decimal number in [lo, hi], nothing else (no sign, no blanks);
// nullopt otherwise.
std::optional<int64_t> parseWhole(std::string_view word, int64_t lo, int64_t hi);
// The --seed of both programs, so that one seed text means one arena in
// both: a whole number from 0 to kMaxSeed written with digits only.
std::optional<uint32_t> parseSeed(std::string_view word);

inline constexpr int64_t kMaxSeed = 4294967295;   // any 32-bit value; the generator keeps 24 bits
inline constexpr int64_t kMaxTicks = 1000000000;  // one billion ticks: ~347 simulated days
// A recording of an evening's hard play is a few megabytes (two players'
// key repeats are about 60 lines a second, 2.6 MB an hour); 16 MiB is six
// such hours, and even one packed with short key lines (2.4 million
// events) is held in under 300 MB.
inline constexpr std::size_t kMaxScriptBytes = 16 * 1024 * 1024;

}  // namespace zelkar::sim
