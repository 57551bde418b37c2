#include "qt/core_texts.h"

#include <QCoreApplication>
#include <string>

namespace zelkar::qt {

namespace {

// The catalogue context of every core text.
constexpr const char* kContext = "Arena";

// The English words are chosen to fit the boxes the layout measured for
// the Japanese ones (see the translator comments in the catalogue).
constexpr const char* const kTexts[] = {
    // The start panel.
    QT_TRANSLATE_NOOP("Arena", "移動障害物個数"),
    QT_TRANSLATE_NOOP("Arena", "乱数個"),
    QT_TRANSLATE_NOOP("Arena", "指定"),
    QT_TRANSLATE_NOOP("Arena", "摩擦（機体のみ）を考慮する。"),
    QT_TRANSLATE_NOOP("Arena", "開始"),
    QT_TRANSLATE_NOOP("Arena", "1-11の範囲に設定して下さい。"),
    // The set-up panels.
    QT_TRANSLATE_NOOP("Arena", "機体設定"),
    QT_TRANSLATE_NOOP("Arena", "砲弾設定"),
    QT_TRANSLATE_NOOP("Arena", "装甲の厚さ"),
    QT_TRANSLATE_NOOP("Arena", "エンジン出力"),
    QT_TRANSLATE_NOOP("Arena", "燃料最大積載量"),
    QT_TRANSLATE_NOOP("Arena", "砲弾最大積載量"),
    QT_TRANSLATE_NOOP("Arena", "砲弾質量"),
    QT_TRANSLATE_NOOP("Arena", "砲弾発射力"),
    QT_TRANSLATE_NOOP("Arena", "総重量"),
    QT_TRANSLATE_NOOP("Arena", "(個)"),
    // The instruments.
    QT_TRANSLATE_NOOP("Arena", "砲弾残量"),
    QT_TRANSLATE_NOOP("Arena", "燃料残量"),
    QT_TRANSLATE_NOOP("Arena", "装甲損壊率"),
    QT_TRANSLATE_NOOP("Arena", "機体総重量"),
    QT_TRANSLATE_NOOP("Arena", "｜加速度｜"),
    QT_TRANSLATE_NOOP("Arena", "Ｘ成分"),
    QT_TRANSLATE_NOOP("Arena", "速度"),
    QT_TRANSLATE_NOOP("Arena", "速度 "),
    QT_TRANSLATE_NOOP("Arena", "Ｙ成分"),
    QT_TRANSLATE_NOOP("Arena", "速さ"),
    QT_TRANSLATE_NOOP("Arena", "静止摩擦係数"),
    QT_TRANSLATE_NOOP("Arena", "動摩擦係数"),
    // The notice while the sprites are prepared, the end of a match.
    QT_TRANSLATE_NOOP("Arena", "初期化中"),
    QT_TRANSLATE_NOOP("Arena", "勝者"),
    QT_TRANSLATE_NOOP("Arena", "敗者"),
    QT_TRANSLATE_NOOP("Arena", "引分"),
    QT_TRANSLATE_NOOP("Arena", "再び対戦するか（Ｙ/Ｎ）？"),
};

}  // namespace

QString coreText(std::string_view utf8) {
  // translate() wants a terminated string; captions are short.
  const std::string source(utf8);
  return QCoreApplication::translate(kContext, source.c_str());
}

std::span<const char* const> coreTexts() { return kTexts; }

}  // namespace zelkar::qt
