#include "qt/language.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTranslator>
#include <cstdio>

#include "qt/config_location.h"
#include "qt/game_font.h"
#include "settings/regular_file.h"

namespace zelkar::qt {

namespace {

// A word and a line break; anything longer is not a choice this program wrote.
constexpr std::size_t kMaxChoiceBytes = 64;

Language current = Language::japanese;

QTranslator& englishCatalogue() {
  static QTranslator translator;
  return translator;
}

}  // namespace

std::optional<Language> languageFromCode(QStringView code) {
  if (code == u"ja") return Language::japanese;
  if (code == u"en") return Language::english;
  return std::nullopt;
}

QString languageCode(Language language) {
  return language == Language::english ? QStringLiteral("en") : QStringLiteral("ja");
}

void setLanguage(Language language) {
  QTranslator& english = englishCatalogue();
  if (language == Language::english && english.isEmpty() &&
      !english.load(QStringLiteral(":/i18n/zelkar_en.qm"))) {
    // The catalogue is built into the program; without it every text would
    // stay Japanese while the font changed, which helps no one.
    std::fprintf(stderr, "zelkar: the English catalogue is missing; staying in Japanese\n");
    language = Language::japanese;
  }
  // The font first: the LanguageChange events that the translator sends
  // make the windows lay their texts out again, in the new font.
  current = language;
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
    QApplication::setFont(gameFont(9));
  if (language == Language::english)
    QCoreApplication::installTranslator(&english);
  else
    QCoreApplication::removeTranslator(&english);
}

Language currentLanguage() { return current; }

QString languageFilePath(const QString& configSavePath) {
  return QFileInfo(configSavePath).dir().filePath(QStringLiteral("language.txt"));
}

std::optional<Language> readLanguageChoice(const QString& path) {
  const FileRead r = readRegularFile(path.toStdString(), kMaxChoiceBytes);
  if (!r.ok()) return std::nullopt;
  return languageFromCode(QString::fromUtf8(r.bytes->data(), qsizetype(r.bytes->size())).trimmed());
}

QString saveLanguageChoice(const QString& path, Language language) {
  return saveAtomically(path, (languageCode(language) + u'\n').toUtf8());
}

}  // namespace zelkar::qt
