#include "qt/settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "qt/game_font.h"
#include "qt/language.h"

namespace zelkar::qt {

namespace {

constexpr int kWidth = 267;            // px, client area
constexpr int kHeight = 144;           // px: the language row below the rest
constexpr double kMinOperability = 9;  // ms: the value must be above this
const char* const kDefaultOperability = "10";

// A check box holds 0 (clear), 1 (ticked) or 2 (greyed), as the file does.
int16_t valueOf(const QCheckBox* box) {
  switch (box->checkState()) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    default:
      return 0;
  }
}

// False for values a check box cannot hold.
bool setValue(QCheckBox* box, int16_t v) {
  if (v < 0 || v > 2) return false;
  // Only a file can make a box grey; the player's first click clears that.
  box->setTristate(v == 2);
  box->setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
  return true;
}

QRect scaled(QRect r, int scale) {
  return {r.left() * scale, r.top() * scale, r.width() * scale, r.height() * scale};
}

QGroupBox* frame(QWidget* parent, const QString& title, QRect geometry, int scale) {
  auto* f = new QGroupBox(title, parent);
  f->setGeometry(scaled(geometry, scale));
  return f;
}

template <typename W>
W* place(W* w, QRect geometry, int scale) {
  w->setGeometry(scaled(geometry, scale));
  return w;
}

}  // namespace

SettingsWindow::SettingsWindow(ConfigLocation where, MessageBoxFn messageBox, QWidget* parent,
                               int scale)
    : QDialog(parent), where_(std::move(where)), messageBox_(std::move(messageBox)) {
  setWindowTitle(tr("初期設定"));
  setFont(gameFont(9, false, scale));
  setFixedSize(kWidth * scale, kHeight * scale);

  QGroupBox* frame1 = frame(this, tr("キーボード種別"), {8, 8, 105, 41}, scale);
  tenkey_ = place(new QCheckBox(tr("１０キー有り"), frame1), {8, 16, 89, 17}, scale);
  QGroupBox* frame2 = frame(this, tr("操作性調整"), {128, 8, 129, 41}, scale);
  // The caption needs 84 px in the 12-px font: it takes the whole gap up to
  // the value box rather than lose its last character.
  place(new QLabel(tr("値範囲：10以上"), frame2), {8, 19, 88, 12}, scale);
  opeval_ = place(new QLineEdit(frame2), {96, 16, 25, 18}, scale);
  QGroupBox* frame3 = frame(this, tr("効果音設定"), {8, 64, 105, 41}, scale);
  sound_ = place(new QCheckBox(tr("音有り"), frame3), {8, 16, 57, 17}, scale);
  comdef_ = place(new QPushButton(tr("既定値"), this), {136, 72, 57, 25}, scale);
  comsave_ = place(new QPushButton(tr("保存"), this), {200, 72, 57, 25}, scale);
  // Each language under its own name, so that a player who reads only one
  // of them finds it. The Japanese label carries the English word too.
  place(new QLabel(tr("言語 (Language)"), this), {8, 117, 120, 12}, scale);
  language_ = place(new QComboBox(this), {136, 112, 121, 22}, scale);
  language_->addItem(QStringLiteral("日本語"), languageCode(Language::japanese));
  language_->addItem(QStringLiteral("English"), languageCode(Language::english));
  language_->setCurrentIndex(currentLanguage() == Language::english ? 1 : 0);
  // Enter in the value box must not press a button the player did not choose.
  comdef_->setAutoDefault(false);
  comsave_->setAutoDefault(false);

  for (auto [box, kept] : {std::pair{tenkey_, &keptTenkey_}, std::pair{sound_, &keptSound_}})
    connect(box, &QCheckBox::clicked, box, [box, kept] {
      if (box->isTristate()) box->setTristate(false);
      kept->reset();
      box->setToolTip(QString());
    });
  connect(comdef_, &QPushButton::clicked, this, &SettingsWindow::comdefClick);
  connect(comsave_, &QPushButton::clicked, this, &SettingsWindow::comsaveClick);

  comdefClick();
  loadFromFile();
}

void SettingsWindow::loadFromFile() {
  const ConfigRead r = where_.read();
  if (!r.ok()) return;
  // Every value is shown, also after one that no box can hold: a save
  // without a change must write back what the file said, not defaults.
  showValue(tenkey_, keptTenkey_, r.values->keypadMode);
  opeval_->setText(r.intervalText.empty() ? QString::number(r.values->tickInterval)
                                          : QString::fromUtf8(r.intervalText));
  showValue(sound_, keptSound_, r.values->soundOn);
}

void SettingsWindow::showValue(QCheckBox* box, std::optional<int16_t>& kept, int16_t value) {
  kept.reset();
  box->setToolTip(QString());
  if (setValue(box, value)) return;
  // A value no box can hold (a hand-edited 7) is shown grey with the value
  // beside the pointer, and kept until the player clicks the box.
  kept = value;
  setValue(box, 2);
  box->setToolTip(tr("config.txt の値：%1").arg(value));
}

int16_t SettingsWindow::savedValue(const QCheckBox* box, const std::optional<int16_t>& kept) const {
  return kept ? *kept : valueOf(box);
}

void SettingsWindow::comdefClick() {
  showValue(tenkey_, keptTenkey_, 1);
  opeval_->setText(QString::fromLatin1(kDefaultOperability));
  showValue(sound_, keptSound_, 0);
}

bool SettingsWindow::comsaveClick() {
  const QByteArray typed = opeval_->text().toUtf8();
  if (!(leadingNumber(std::string_view(typed.data(), std::size_t(typed.size()))) >
        kMinOperability)) {
    messageBox_(tr("10以上の値に設定して下さい。"), tr("操作性調整値"));
    opeval_->setFocus();
    return false;
  }
  const std::string text = formatConfig(savedValue(tenkey_, keptTenkey_),
                                        std::string_view(typed.data(), std::size_t(typed.size())),
                                        savedValue(sound_, keptSound_));
  const QString failure =
      saveAtomically(where_.savePath(), QByteArray(text.data(), qsizetype(text.size())));
  if (!failure.isEmpty()) {
    // The window stays open so the player can try again or close it.
    messageBox_(tr("設定を保存できませんでした。\n%1\n%2").arg(where_.savePath(), failure),
                windowTitle());
    return false;
  }
  saveLanguage();
  accept();
  return true;
}

void SettingsWindow::saveLanguage() {
  const Language chosen =
      languageFromCode(language_->currentData().toString()).value_or(Language::japanese);
  const QString path = languageFilePath(where_.savePath());
  // config.txt is saved by now: a choice that cannot be kept still holds
  // for this run, and the player is told.
  const QString failure = saveLanguageChoice(path, chosen);
  if (chosen != currentLanguage()) setLanguage(chosen);
  if (!failure.isEmpty())
    messageBox_(tr("言語の選択を保存できませんでした。\n%1\n%2").arg(path, failure), windowTitle());
}

}  // namespace zelkar::qt
