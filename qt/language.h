// The language the windows speak: Japanese, the game's own and the
// default, or English through the translation catalogue built into the
// program. Only what is painted changes with it; the game, its hash, its
// recordings and online play never see it.
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace zelkar::qt {

enum class Language { japanese, english };

// "ja" and "en", as --lang and the remembered choice write them.
std::optional<Language> languageFromCode(QStringView code);
QString languageCode(Language language);

// Installs the catalogue for `language` (none for Japanese, whose texts
// are the sources) and the matching application font. Every widget then
// gets a LanguageChange event, so open windows can show the new texts.
void setLanguage(Language language);
Language currentLanguage();

// The remembered choice lives in its own file beside config.txt, which
// keeps its three lines for the programs and files that rely on them.
QString languageFilePath(const QString& configSavePath);
// The file's choice; none when it is missing, unreadable or says neither.
std::optional<Language> readLanguageChoice(const QString& path);
// Writes the choice; the reason of a failure, or an empty string.
QString saveLanguageChoice(const QString& path, Language language);

}  // namespace zelkar::qt
