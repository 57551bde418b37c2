// The computer players of the desktop program and their choice on the
// start panel: a check box "コンピュータと対戦する" and a strength box
// "強さ". Before every tick the seats send their players' keys through the
// host's key events, so a recording holds them as ordinary key lines.
#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <optional>

#include "cpu/player.h"
#include "qt/cpu_options.h"

class QCheckBox;
class QComboBox;
class QWidget;

namespace zelkar {
struct Game;
}

namespace zelkar::qt {

class GameHost;

class CpuSeats : public QObject {
  Q_OBJECT

 public:
  // `seed`: the match's seed, the only source of the players' variety.
  CpuSeats(const CpuOptions& options, uint32_t seed);

  // Puts the check box and the strength box below the start panel of
  // `window` (drawn `scale` times enlarged).
  void attach(QWidget* window, int scale);
  // Shows the boxes while the start panel shows.
  void showWith(const Game& g);
  // Sends the computer players' keys for the coming tick.
  void beforeTick(GameHost& host);

  bool plays(int side) const { return players_[side].has_value(); }
  int level() const { return level_; }
  // What the boxes do: the computer takes the chosen sides (the right
  // player unless the command line chose others), at the chosen strength.
  void setPlaying(bool on);
  void setLevel(int level);
  QCheckBox* checkBox() const { return check_; }
  QComboBox* strengthBox() const { return strength_; }

 protected:
  // The boxes' texts and font again after a change of language.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void seat();
  void showTexts();

  std::array<bool, 2> chosen_;  // sides the computer takes when playing
  bool on_;
  int level_;
  uint32_t seed_;
  std::array<std::optional<cpu::Player>, 2> players_;
  QCheckBox* check_ = nullptr;
  QComboBox* strength_ = nullptr;
  int scale_ = 1;
};

}  // namespace zelkar::qt
