#include "qt/replayer.h"

#include <QFile>
#include <cstdio>
#include <type_traits>
#include <variant>

#include "events/play.h"
#include "headless/printable.h"
#include "headless/state_dump.h"
#include "qt/game_host.h"
#include "qt/main_window.h"
#include "qt/message_box.h"
#include "qt/qt_window_system.h"
#include "settings/regular_file.h"

namespace zelkar::qt {

namespace {

std::string utf8(const QString& s) { return s.toStdString(); }

}  // namespace

Replayer::Read Replayer::fromFile(const QString& path, uint32_t defaultSeed) {
  const FileRead file =
      readRegularFile(QFile::encodeName(path).toStdString(), sim::kMaxScriptBytes);
  if (!file.ok())
    return {nullptr,
            QStringLiteral("the replay %1 %2").arg(path, QString::fromStdString(file.error))};
  return fromText(*file.bytes, path, defaultSeed);
}

Replayer::Read Replayer::fromText(std::string_view text, const QString& name,
                                  uint32_t defaultSeed) {
  sim::ParsedScript parsed = sim::parseScript(text, sim::ScriptSource::ReplayFile);
  if (parsed.error) {
    return {nullptr, QStringLiteral("the replay %1 is refused: line %2: %3")
                         .arg(name)
                         .arg(parsed.error->line)
                         .arg(QString::fromStdString(parsed.error->message))};
  }
  return {std::unique_ptr<Replayer>(new Replayer(std::move(parsed.commands), name, defaultSeed)),
          {}};
}

Replayer::Replayer(std::vector<sim::ScriptLine> commands, QString name, uint32_t seed)
    : commands_(std::move(commands)), name_(std::move(name)), seed_(seed) {
  // zelkar-sim loads the window at the first event: the seeds and settings
  // before it are those load sees.
  for (; next_ < commands_.size(); ++next_) {
    const sim::Command& c = commands_[next_].command;
    if (const auto* s = std::get_if<sim::SeedCommand>(&c))
      seed_ = s->seed;
    else if (const auto* k = std::get_if<sim::ConfigCommand>(&c))
      config_ = k->values;
    else
      break;
  }
}

void Replayer::attach(GameHost& host) {
  QtWindowSystem& ws = host.windowSystem();
  ws.setFixedSettings(config_);
  QWidget* window = &host.mainWindow();
  ws.setMessageBoxFn([this, window](const QString& text, const QString& title) {
    say("message box \"" + utf8(title) + "\": " + utf8(text));
    showMessageBoxModeless(window, text, title);
  });
}

void Replayer::advance(GameHost& host) {
  if (busy_ || done_) return;
  busy_ = true;
  while (!host.ended()) {
    if (ticksLeft_ > 0) {
      if (sim::simulationRunning(host.game())) break;  // Timer1 brings them
      ticksLeft_ = 0;  // a stopped timer fires none; zelkar-sim skips them too
    }
    if (next_ == commands_.size()) break;
    const sim::Command& c = commands_[next_++].command;
    if (const auto* t = std::get_if<sim::TickCommand>(&c))
      ticksLeft_ = t->count;
    else
      apply(host, c);
  }
  busy_ = false;
  if (next_ == commands_.size() && (ticksLeft_ == 0 || host.ended())) finish(host);
}

void Replayer::tickRan(GameHost& host) {
  ++ticks_;
  if (ticksLeft_ > 0) --ticksLeft_;
  advance(host);
}

void Replayer::stop() {
  if (done_) return;
  done_ = true;
  const int line = next_ < commands_.size() ? commands_[next_].line : 0;
  say("stopped by Ctrl+F2 after " + std::to_string(ticks_) + " ticks" +
      (line > 0 ? ", before line " + std::to_string(line) : std::string()));
}

void Replayer::finish(GameHost& host) {
  if (done_) return;
  done_ = true;
  // The last recorded moment stays on the screen: ticks the file does not
  // hold would play a match no one played.
  if (!host.ended()) host.holdTicks();
  say("ended after " + std::to_string(ticks_) + " ticks");
}

void Replayer::apply(GameHost& host, const sim::Command& command) {
  Game& g = host.ownGame();
  ScreenModel& sc = g.screen;
  std::visit(
      [&](const auto& c) {
        using C = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<C, sim::SeedCommand>) {
          g.rng.seed(c.seed);  // after load: the generator's state itself
        } else if constexpr (std::is_same_v<C, sim::ConfigCommand>) {
          host.windowSystem().setFixedSettings(c.values);
        } else if constexpr (std::is_same_v<C, sim::StartCommand>) {
          // The panel's boxes as the player left them, then the button,
          // through the host so that the window shows and records it.
          if (sim::fillStartPanel(sc, c)) host.startPressed();
        } else if constexpr (std::is_same_v<C, sim::KeyDownCommand>) {
          host.keyPressed(c.keyCode, c.shift);
        } else if constexpr (std::is_same_v<C, sim::KeyUpCommand>) {
          host.keyReleased(c.keyCode, 0);
        } else if constexpr (std::is_same_v<C, sim::AnswerCommand>) {
          if (sim::fillAnswerBox(sc, c)) host.answerTyped();
        }
      },
      command);
}

void Replayer::say(const std::string& text) const {
  const std::string line = "zelkar: replay " + utf8(name_) + ": " + text;
  if (note_)
    note_(line);
  else
    std::fprintf(stderr, "%s\n", sim::printable(line).c_str());
}

}  // namespace zelkar::qt
