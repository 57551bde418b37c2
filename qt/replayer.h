// Plays a replay file back in the window. The game loads with the file's
// seed and settings; then its events are applied between the ticks of the
// game's own Timer1, each `tick N` waiting for N of them, as zelkar-sim
// applies them between its ticks. The players only watch: the host lets
// no input through but Ctrl+F2, which stops the match and the replay.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "events/script.h"
#include "settings/config_file.h"

namespace zelkar::qt {

class GameHost;

class Replayer {
 public:
  // Where the replay says how it goes (default: standard error).
  using Note = std::function<void(const std::string&)>;

  struct Read {
    std::unique_ptr<Replayer> replay;  // null when the file is refused
    QString error;                     // why, naming the file and the line
  };
  // Reads and checks the whole file first: a file of another version or
  // with a bad line is refused as a whole, never half played. The seed is
  // `defaultSeed` when the file sets none, as with zelkar-sim --seed.
  static Read fromFile(const QString& path, uint32_t defaultSeed);
  static Read fromText(std::string_view text, const QString& name, uint32_t defaultSeed);

  // What load needs: the generator's seed and the settings read at load.
  uint32_t seed() const { return seed_; }
  const ConfigValues& config() const { return config_; }

  // Before load: the settings come from the replay, and message boxes must
  // not wait for a click while the replay goes on.
  void attach(GameHost& host);
  // The events up to the next tick; after the start timer and each tick.
  void advance(GameHost& host);
  void tickRan(GameHost& host);
  // Ctrl+F2: the rest of the file is not played.
  void stop();
  bool finished() const { return done_; }

  void setNote(Note note) { note_ = std::move(note); }

  // One event of a replay (not a tick) as the window takes it: the start
  // panel's boxes as the player left them, keys, the typed answer.
  static void apply(GameHost& host, const sim::Command& command);

 private:
  Replayer(std::vector<sim::ScriptLine> commands, QString name, uint32_t seed);
  void finish(GameHost& host);
  void say(const std::string& text) const;

  std::vector<sim::ScriptLine> commands_;
  QString name_;
  uint32_t seed_;
  ConfigValues config_ = sim::kScriptConfig;
  std::size_t next_ = 0;   // the next command to apply
  int64_t ticksLeft_ = 0;  // of the `tick N` being played
  int64_t ticks_ = 0;      // ticks played so far
  bool busy_ = false;      // applying events: no tick may cut in
  bool done_ = false;
  Note note_;
};

}  // namespace zelkar::qt
