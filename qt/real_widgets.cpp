#include "qt/real_widgets.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "qt/bgr_colour.h"
#include "qt/core_texts.h"
#include "qt/game_font.h"

namespace zelkar::qt {

namespace {

// A caption holds 63 bytes of UTF-8 and one UTF-16 unit needs at most 3 of
// them, so a box held to this length always fits its caption.
constexpr int kMaxTextUnits = int(Caption::kCapacity / 3);

QString textOf(const Item& it) {
  return QString::fromUtf8(it.caption.view().data(), qsizetype(it.caption.view().size()));
}

std::string utf8(const QString& s) { return s.toStdString(); }

void showItem(QWidget* w, const Item& it, QPoint origin, bool parentVisible, int scale) {
  const QRect geometry((origin.x() + it.left) * scale, (origin.y() + it.top) * scale,
                       it.width * scale, it.height * scale);
  if (w->geometry() != geometry) w->setGeometry(geometry);
  const QFont font = gameFont(it.fontPoints, it.bold, scale);
  if (w->font() != font) w->setFont(font);
  if (w->isEnabled() != it.enabled) w->setEnabled(it.enabled);
  const bool visible = parentVisible && it.visible;
  if (w->isVisibleTo(w->parentWidget()) != visible) w->setVisible(visible);
}

void showText(QLineEdit* box, const Item& it) {
  const QString text = textOf(it);
  if (box->text() != text) box->setText(text);
}

template <typename Button>
void showCaption(Button* b, const Item& it) {
  const QString text = coreText(it.caption.view());
  if (b->text() != text) b->setText(text);
}

}  // namespace

RealWidgets::RealWidgets(QWidget* window, int scale)
    : scale_(scale),
      label1_(new QLabel(window)),
      option1_(new QRadioButton(window)),
      option2_(new QRadioButton(window)),
      tirikosu_(new QLineEdit(window)),
      mas_(new QCheckBox(window)),
      game_(new QPushButton(window)),
      han_(new QLineEdit(window)) {
  for (QLineEdit* box : {tirikosu_, han_}) box->setMaxLength(kMaxTextUnits);
  label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // Hidden until the model shows them: nothing may take the keys early.
  for (QWidget* w :
       std::initializer_list<QWidget*>{label1_, option1_, option2_, tirikosu_, mas_, game_, han_})
    w->hide();
  // `clicked` comes from the player only; the model's own changes are
  // written with signals blocked and never call a handler back.
  connect(option1_, &QRadioButton::clicked, this, &RealWidgets::option1Clicked);
  connect(option2_, &QRadioButton::clicked, this, &RealWidgets::option2Clicked);
  connect(game_, &QPushButton::clicked, this, &RealWidgets::gameClicked);
  connect(tirikosu_, &QLineEdit::textEdited, this, &RealWidgets::edited);
  connect(mas_, &QCheckBox::clicked, this, &RealWidgets::edited);
  connect(han_, &QLineEdit::textChanged, this, &RealWidgets::hanChanged);
  // Whatever a player does to a widget, the next showModel puts the model's
  // state back in full, whether or not a handler took the change.
  for (auto signal : {&RealWidgets::option1Clicked, &RealWidgets::option2Clicked,
                      &RealWidgets::gameClicked, &RealWidgets::edited, &RealWidgets::hanChanged})
    connect(this, signal, this, [this] { shown_.reset(); });
}

RealWidgets::Shown RealWidgets::shownPart(const ScreenModel& m) {
  return {m.Picture2, m.Label1, m.Option1, m.Option2, m.tirikosu, m.mas, m.game, m.han};
}

void RealWidgets::copyInto(ScreenModel& m) const {
  m.Option1.value = option1_->isChecked();
  m.Option2.value = option2_->isChecked();
  m.tirikosu.caption = utf8(tirikosu_->text());
  m.mas.value = mas_->isChecked();
  m.han.caption = utf8(han_->text());
}

void RealWidgets::retranslate(const ScreenModel& m) {
  shown_.reset();
  showModel(m, choicesOwn_);
}

void RealWidgets::showModel(const ScreenModel& m, bool choicesOwn) {
  // After a tick that part of the model is nearly always as it was, and
  // comparing it costs far less than asking each widget for its text.
  Shown now = shownPart(m);
  if (shown_ == now && choicesOwn_ == choicesOwn) return;
  shown_ = now;
  choicesOwn_ = choicesOwn;
  const QSignalBlocker blocks[] = {QSignalBlocker(option1_),  QSignalBlocker(option2_),
                                   QSignalBlocker(tirikosu_), QSignalBlocker(mas_),
                                   QSignalBlocker(game_),     QSignalBlocker(han_)};
  const QPoint panel(m.Picture2.left, m.Picture2.top);
  const bool panelShown = m.Picture2.visible;
  showItem(label1_, m.Label1, panel, panelShown, scale_);
  showItem(option1_, m.Option1, panel, panelShown, scale_);
  showItem(option2_, m.Option2, panel, panelShown, scale_);
  showItem(tirikosu_, m.tirikosu, panel, panelShown, scale_);
  showItem(mas_, m.mas, panel, panelShown, scale_);
  showItem(game_, m.game, panel, panelShown, scale_);
  showItem(han_, m.han, QPoint(0, 0), true, scale_);

  if (const QString text = coreText(m.Label1.caption.view()); label1_->text() != text)
    label1_->setText(text);
  showCaption(option1_, m.Option1);
  showCaption(option2_, m.Option2);
  showCaption(mas_, m.mas);
  showCaption(game_, m.game);
  showAnswerColours(m);
  showText(han_, m.han);
  if (choicesOwn) return;
  showText(tirikosu_, m.tirikosu);

  // Two exclusive buttons refuse to be both clear; the model may say so.
  const bool exclusive = m.Option1.value || m.Option2.value;
  option1_->setAutoExclusive(exclusive);
  option2_->setAutoExclusive(exclusive);
  option1_->setChecked(m.Option1.value);
  option2_->setChecked(m.Option2.value);
  option1_->setAutoExclusive(true);
  option2_->setAutoExclusive(true);
  mas_->setChecked(m.mas.value);
}

void RealWidgets::showAnswerColours(const ScreenModel& m) {
  QPalette answer = han_->palette();
  answer.setColor(QPalette::Base, colourFromBgr(m.han.backColor));
  answer.setColor(QPalette::Text, colourFromBgr(m.han.foreColor));
  if (answer != han_->palette()) han_->setPalette(answer);
}

}  // namespace zelkar::qt
