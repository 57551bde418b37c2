#include "qt/game_font.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>

#include "qt/language.h"

namespace zelkar::qt {

namespace {

constexpr double kPixelsPerPoint = 96.0 / 72.0;  // the layout's 96 dpi

QString chooseJapanese() {
  const QStringList families = QFontDatabase::families();
  // Preferred in this order: the fixed-pitch Gothic the layout was measured
  // with, then its proportional sibling.
  for (const char* wanted : {"IPAGothic", "IPAPGothic"}) {
    if (families.contains(QString::fromLatin1(wanted))) return QString::fromLatin1(wanted);
  }
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  if (!japanese.isEmpty()) return japanese.front();
  std::fprintf(stderr,
               "zelkar: no Japanese font found (install fonts-ipafont-gothic); "
               "Japanese text will not show\n");
  return QFont().family();
}

QString chooseEnglish() {
  const QStringList families = QFontDatabase::families();
  for (const char* wanted : {"DejaVu Sans Condensed", "DejaVu Sans"}) {
    if (families.contains(QString::fromLatin1(wanted))) return QString::fromLatin1(wanted);
  }
  return QFont().family();
}

QString familyOf(Language language) {
  if (language == Language::english) {
    static const QString english = chooseEnglish();
    return english;
  }
  static const QString japanese = chooseJapanese();
  return japanese;
}

QFont fontOf(Language language, double points, bool bold, int scale) {
  // The widgets ask for their font after every tick; building a QFont
  // costs more than copying one, and only a handful of sizes are in use.
  static std::map<std::tuple<Language, double, bool, int>, QFont> made;
  const auto key = std::tuple(language, points, bold, scale);
  if (auto it = made.find(key); it != made.end()) return it->second;
  QFont font(familyOf(language));
  font.setPixelSize(std::max(1, int(std::lround(points * kPixelsPerPoint)) * scale));
  font.setBold(bold);
  // Anti-aliased edges would blend label colours with what lies beneath.
  font.setStyleStrategy(QFont::NoAntialias);
  return made.emplace(key, font).first->second;
}

}  // namespace

QString gameFontFamily() { return familyOf(currentLanguage()); }

QFont gameFont(double points, bool bold, int scale) {
  return fontOf(currentLanguage(), points, bold, scale);
}

QFont layoutFont(double points, bool bold, int scale) {
  return fontOf(Language::japanese, points, bold, scale);
}

}  // namespace zelkar::qt
