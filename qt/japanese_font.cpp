#include "qt/japanese_font.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>

namespace zelkar::qt {

namespace {

constexpr double kPixelsPerPoint = 96.0 / 72.0;  // the layout's 96 dpi

QString chooseFamily() {
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

}  // namespace

QString gameFontFamily() {
  static const QString family = chooseFamily();
  return family;
}

QFont gameFont(double points, bool bold, int scale) {
  // The widgets ask for their font after every tick; building a QFont
  // costs more than copying one, and only a handful of sizes are in use.
  static std::map<std::tuple<double, bool, int>, QFont> made;
  const auto key = std::tuple(points, bold, scale);
  if (auto it = made.find(key); it != made.end()) return it->second;
  QFont font(gameFontFamily());
  font.setPixelSize(std::max(1, int(std::lround(points * kPixelsPerPoint)) * scale));
  font.setBold(bold);
  // Anti-aliased edges would blend label colours with what lies beneath.
  font.setStyleStrategy(QFont::NoAntialias);
  return made.emplace(key, font).first->second;
}

}  // namespace zelkar::qt
