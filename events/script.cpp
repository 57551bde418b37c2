#include "events/script.h"

#include <charconv>
#include <limits>

namespace zelkar::sim {

namespace {

constexpr int64_t kMaxKeyCode = 255;  // virtual-key codes are one byte
constexpr int64_t kMaxShift = 7;      // Shift | Ctrl | Alt

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Splits a line into words; a comment ends it. Quoted words may be empty
// and may hold blanks and `#`.
std::optional<std::string> splitWords(std::string_view line, std::vector<std::string>& words) {
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size() || line[i] == '#') return std::nullopt;
    std::string word;
    if (line[i] == '"') {
      ++i;
      while (true) {
        if (i == line.size()) return "a quoted text has no closing quote";
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            word += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        word += line[i++];
      }
      if (i < line.size() && !isBlank(line[i]) && line[i] != '#')
        return "a closing quote must end its word";
    } else {
      while (i < line.size() && !isBlank(line[i]) && line[i] != '#') word += line[i++];
    }
    words.push_back(std::move(word));
  }
}

// Reads the words of one line into a command, or says what is wrong.
class LineReader {
 public:
  explicit LineReader(const std::vector<std::string>& words) : words_(words) {}

  std::optional<std::string> read(Command& out) {
    const std::string& name = words_[0];
    if (name == "seed") return readSeed(out);
    if (name == "config") return readConfig(out);
    if (name == "start") return readStart(out);
    if (name == "down") return readDown(out);
    if (name == "up") return readUp(out);
    if (name == "tick") return readTick(out);
    if (name == "answer") return readAnswer(out);
    if (name == "cpu") return readCpu(out);
    return "unknown command \"" + name + "\"";
  }

 private:
  std::optional<std::string> argCount(std::size_t least, std::size_t most) const {
    const std::size_t n = words_.size() - 1;
    if (n < least) return words_[0] + ": missing argument";
    if (n > most) return words_[0] + ": unexpected \"" + words_[most + 1] + "\"";
    return std::nullopt;
  }

  // The number at word i, or an error naming what it should be.
  std::optional<std::string> number(std::size_t i, const char* what, int64_t lo, int64_t hi,
                                    int64_t& out) const {
    const auto v = parseWhole(words_[i], lo, hi);
    if (!v) {
      return words_[0] + ": " + what + " must be a whole number from " + std::to_string(lo) +
             " to " + std::to_string(hi) + ", not \"" + words_[i] + "\"";
    }
    out = *v;
    return std::nullopt;
  }

  std::optional<std::string> readSeed(Command& out) {
    if (auto e = argCount(1, 1)) return e;
    int64_t seed = 0;
    if (auto e = number(1, "the seed", 0, kMaxSeed, seed)) return e;
    out = SeedCommand{static_cast<uint32_t>(seed)};
    return std::nullopt;
  }

  std::optional<std::string> readConfig(Command& out) {
    if (auto e = argCount(3, 3)) return e;
    constexpr int64_t lo = std::numeric_limits<int16_t>::min();
    constexpr int64_t hi = std::numeric_limits<int16_t>::max();
    int64_t kind = 0, interval = 0, sound = 0;
    if (auto e = number(1, "the keyboard kind", lo, hi, kind)) return e;
    if (auto e = number(2, "the tick interval", lo, hi, interval)) return e;
    if (auto e = number(3, "the sound switch", lo, hi, sound)) return e;
    // Through the file format, so that the values are held to the same
    // limits as a config.txt holding them.
    const ConfigRead r = parseConfig(formatConfig(
        static_cast<int16_t>(kind), std::to_string(interval), static_cast<int16_t>(sound)));
    if (!r.ok()) return "config: " + r.error;
    out = ConfigCommand{*r.values};
    return std::nullopt;
  }

  std::optional<std::string> readStart(Command& out) {
    if (words_.size() < 2) return "start: missing \"random\" or \"given\"";
    StartCommand c;
    std::size_t next = 2;
    if (words_[1] == "given") {
      if (auto e = argCount(2, 3)) return e;
      c.given = true;
      c.text = words_[2];
      next = 3;
    } else if (words_[1] == "random") {
      if (auto e = argCount(1, 2)) return e;
    } else {
      return "start: expected \"random\" or \"given\", not \"" + words_[1] + "\"";
    }
    if (next < words_.size()) {
      if (words_[next] != "friction")
        return "start: expected \"friction\" or nothing, not \"" + words_[next] + "\"";
      c.friction = true;
    }
    out = std::move(c);
    return std::nullopt;
  }

  std::optional<std::string> readDown(Command& out) {
    if (auto e = argCount(1, 2)) return e;
    int64_t key = 0, shift = 0;
    if (auto e = number(1, "the key code", 0, kMaxKeyCode, key)) return e;
    if (words_.size() > 2)
      if (auto e = number(2, "the shift state", 0, kMaxShift, shift)) return e;
    out = KeyDownCommand{static_cast<int16_t>(key), static_cast<int16_t>(shift)};
    return std::nullopt;
  }

  std::optional<std::string> readUp(Command& out) {
    if (auto e = argCount(1, 1)) return e;
    int64_t key = 0;
    if (auto e = number(1, "the key code", 0, kMaxKeyCode, key)) return e;
    out = KeyUpCommand{static_cast<int16_t>(key)};
    return std::nullopt;
  }

  std::optional<std::string> readTick(Command& out) {
    if (auto e = argCount(0, 1)) return e;
    int64_t count = 1;
    if (words_.size() > 1)
      if (auto e = number(1, "the tick count", 0, kMaxTicks, count)) return e;
    out = TickCommand{count};
    return std::nullopt;
  }

  std::optional<std::string> readAnswer(Command& out) {
    if (auto e = argCount(1, 1)) return e;
    // The box is emptied after every answer, so an empty text would not
    // change it and the window would see no event at all.
    if (words_[1].empty()) return "answer: the text must not be empty";
    out = AnswerCommand{words_[1]};
    return std::nullopt;
  }

  std::optional<std::string> readCpu(Command& out) {
    if (auto e = argCount(2, 2)) return e;
    CpuCommand c;
    if (words_[1] == "right")
      c.side = 0;
    else if (words_[1] == "left")
      c.side = 1;
    else
      return "cpu: expected \"left\" or \"right\", not \"" + words_[1] + "\"";
    int64_t level = 0;
    if (auto e = number(2, "the level", kMinCpuLevel, kMaxCpuLevel, level)) return e;
    c.level = static_cast<int>(level);
    out = c;
    return std::nullopt;
  }

  const std::vector<std::string>& words_;
};

// The format line of a replay. A file of another version is refused before
// anything is played: its commands may mean something else.
std::optional<std::string> readFormatLine(const std::vector<std::string>& words) {
  const std::string expected = std::string(kReplayFormat) + " " + std::to_string(kReplayVersion);
  if (words.size() == 2 && words[0] == kReplayFormat && words[1] == std::to_string(kReplayVersion))
    return std::nullopt;
  if (words.size() == 2 && words[0] == kReplayFormat)
    return "replay format version \"" + words[1] + "\" is not supported (expected \"" + expected +
           "\")";
  return "bad replay format line (expected \"" + expected + "\")";
}

// Writes commands in the words LineReader reads.
struct LineWriter {
  std::string operator()(const SeedCommand& c) const { return "seed " + std::to_string(c.seed); }
  std::string operator()(const ConfigCommand& c) const {
    return "config " + std::to_string(c.values.keypadMode) + " " +
           std::to_string(c.values.tickInterval) + " " + std::to_string(c.values.soundOn);
  }
  std::string operator()(const StartCommand& c) const {
    std::string out = c.given ? "start given " + scriptText(c.text) : "start random";
    return c.friction ? out + " friction" : out;
  }
  std::string operator()(const KeyDownCommand& c) const {
    const std::string out = "down " + std::to_string(c.keyCode);
    return c.shift != 0 ? out + " " + std::to_string(c.shift) : out;
  }
  std::string operator()(const KeyUpCommand& c) const { return "up " + std::to_string(c.keyCode); }
  std::string operator()(const TickCommand& c) const {
    return c.count == 1 ? "tick" : "tick " + std::to_string(c.count);
  }
  std::string operator()(const AnswerCommand& c) const { return "answer " + scriptText(c.text); }
  std::string operator()(const CpuCommand& c) const {
    return std::string("cpu ") + (c.side == 0 ? "right " : "left ") + std::to_string(c.level);
  }
};

}  // namespace

std::optional<int64_t> parseWhole(std::string_view word, int64_t lo, int64_t hi) {
  int64_t v = 0;
  const char* end = word.data() + word.size();
  const auto [ptr, ec] = std::from_chars(word.data(), end, v);
  if (word.empty() || ec != std::errc{} || ptr != end || v < lo || v > hi) return std::nullopt;
  return v;
}

std::optional<uint32_t> parseSeed(std::string_view word) {
  // from_chars would take "-0"; a seed has no sign at all.
  if (word.empty() || word.find_first_not_of("0123456789") != std::string_view::npos)
    return std::nullopt;
  const auto v = parseWhole(word, 0, kMaxSeed);
  if (!v) return std::nullopt;
  return static_cast<uint32_t>(*v);
}

ParsedScript parseScript(std::string_view text, ScriptSource source) {
  ParsedScript result;
  const bool cutShort = !text.empty() && text.back() != '\n';
  bool started = false;  // a start has been read: the generator is in use
  bool isReplay = source == ScriptSource::ReplayFile;  // or the format line was read
  int line = 0;
  while (!text.empty()) {
    ++line;
    const std::size_t end = text.find('\n');
    std::string_view row = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!row.empty() && row.back() == '\r') row.remove_suffix(1);  // files from Windows

    std::vector<std::string> words;
    std::optional<std::string> error = splitWords(row, words);
    if (!error && words.empty()) continue;
    if (!error && words[0].starts_with(kReplayFormat)) {
      error = line == 1 ? readFormatLine(words) : "the replay format line must be the first line";
      if (!error) {
        isReplay = true;
        continue;
      }
    }
    if (!error && isReplay && cutShort && text.empty())
      error = "the last line has no line break: the file was cut off while it was written";
    Command command;
    if (!error) error = LineReader(words).read(command);
    // The arena is built from the generator at the start: a seed set later
    // would silently not be the one the match was played with.
    if (!error && std::holds_alternative<SeedCommand>(command) && started)
      error = "seed: only before the first start";
    if (error) {
      result.error = ScriptError{line, *error};
      return result;
    }
    if (std::holds_alternative<StartCommand>(command)) started = true;
    result.commands.push_back({line, std::move(command)});
  }
  return result;
}

std::string scriptText(std::string_view text) {
  bool plain = !text.empty() && text.front() != '"';
  for (char c : text)
    if (isBlank(c) || c == '#' || c == '\r') plain = false;
  if (plain) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

std::string scriptLine(const Command& command) { return std::visit(LineWriter{}, command); }

std::string replayText(const std::vector<Command>& commands) {
  std::string out = std::string(kReplayFormat) + " " + std::to_string(kReplayVersion) + "\n";
  for (const Command& c : commands) out += scriptLine(c) + "\n";
  return out;
}

}  // namespace zelkar::sim
