#include "qt/cpu_seats.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>

#include "app/game.h"
#include "qt/game_font.h"
#include "qt/game_host.h"

namespace zelkar::qt {

namespace {

// Below the start panel (240, 240, 313 x 57), clear of its start button, in
// client pixels.
constexpr int kLeft = 240, kTop = 308, kCheckWidth = 185, kBoxWidth = 120, kHeight = 25;

}  // namespace

CpuSeats::CpuSeats(const CpuOptions& options, uint32_t seed)
    : chosen_(options.sides),
      on_(options.sides[0] || options.sides[1]),
      level_(options.level),
      seed_(seed) {
  if (!on_) chosen_ = {true, false};  // the box alone: the computer takes the right side
  seat();
}

void CpuSeats::seat() {
  for (int p = 0; p < 2; ++p) {
    if (on_ && chosen_[p])
      players_[p].emplace(p, level_, seed_);
    else
      players_[p].reset();
  }
}

void CpuSeats::setPlaying(bool on) {
  on_ = on;
  seat();
}

void CpuSeats::setLevel(int level) {
  level_ = level;
  seat();
}

void CpuSeats::attach(QWidget* window, int scale) {
  scale_ = scale;
  check_ = new QCheckBox(window);
  strength_ = new QComboBox(window);
  for (int level = 1; level <= 3; ++level) strength_->addItem(QString());
  for (QWidget* w : std::initializer_list<QWidget*>{check_, strength_}) {
    // The keys belong to the players: the boxes are clicked, never typed into.
    w->setFocusPolicy(Qt::NoFocus);
    w->hide();
  }
  showTexts();
  check_->installEventFilter(this);
  check_->setGeometry(kLeft * scale, kTop * scale, kCheckWidth * scale, kHeight * scale);
  strength_->setGeometry((kLeft + kCheckWidth) * scale, kTop * scale, kBoxWidth * scale,
                         kHeight * scale);
  check_->setChecked(on_);
  strength_->setCurrentIndex(level_ - kMinCpuLevel);
  connect(check_, &QCheckBox::toggled, this, [this](bool on) { setPlaying(on); });
  connect(strength_, &QComboBox::currentIndexChanged, this,
          [this](int index) { setLevel(index + kMinCpuLevel); });
}

void CpuSeats::showTexts() {
  check_->setText(tr("コンピュータと対戦する"));
  strength_->setItemText(0, tr("強さ 1（初級）"));
  strength_->setItemText(1, tr("強さ 2（中級）"));
  strength_->setItemText(2, tr("強さ 3（上級）"));
  for (QWidget* w : std::initializer_list<QWidget*>{check_, strength_})
    w->setFont(gameFont(9, false, scale_));
}

bool CpuSeats::eventFilter(QObject* watched, QEvent* event) {
  if (watched == check_ && event->type() == QEvent::LanguageChange) showTexts();
  return QObject::eventFilter(watched, event);
}

void CpuSeats::showWith(const Game& g) {
  if (check_ == nullptr) return;
  const bool shown = g.screen.Picture2.visible;
  check_->setVisible(shown);
  strength_->setVisible(shown);
}

void CpuSeats::beforeTick(GameHost& host) {
  // Both decide on the same arena before either presses a key.
  std::array<cpu::KeyEvents, 2> keys;
  for (int p = 0; p < 2; ++p)
    if (players_[p]) keys[p] = players_[p]->decide(host.game());
  for (const cpu::KeyEvents& side : keys) {
    for (const cpu::KeyEvent& e : side) {
      if (e.down)
        host.keyPressed(e.keyCode, 0);
      else
        host.keyReleased(e.keyCode, 0);
    }
  }
}

}  // namespace zelkar::qt
