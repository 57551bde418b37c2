#include "qt/sound_module.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <cstdio>

#include "headless/printable.h"

namespace zelkar::qt {

QStringList soundModulePlaces(const QString& programFolder, const QString& fromProgram) {
  const QDir here(programFolder);
  QStringList places{here.filePath(QString::fromLatin1(kSoundModuleFile))};
  if (!fromProgram.isEmpty())
    places << QDir::cleanPath(
        here.filePath(fromProgram + '/' + QString::fromLatin1(kSoundModuleFile)));
  return places;
}

std::unique_ptr<SoundOutput> openSounds(const QString& folder, const QStringList& places,
                                        const SoundOutput::Reporter& report) {
  for (const QString& path : places) {
    if (!QFileInfo(path).isFile()) continue;
    // Never unloaded: Qt Multimedia keeps threads of its own until the
    // program ends, and a QLibrary left alone stays loaded.
    QLibrary module(path);
    const auto open = reinterpret_cast<OpenSoundsFunction>(module.resolve(kOpenSoundsSymbol));
    if (open == nullptr) {
      report(QStringLiteral("zelkar: sound module %1 cannot be loaded (%2); playing without sound")
                 .arg(path, module.errorString()));
      return nullptr;
    }
    return std::unique_ptr<SoundOutput>(open(folder, report));
  }
  report(QStringLiteral("zelkar: sound module %1 not found (looked at %2); playing without sound")
             .arg(QString::fromLatin1(kSoundModuleFile), places.join(QStringLiteral(", "))));
  return nullptr;
}

void reportOnStandardError(const QString& line) {
  std::fprintf(stderr, "%s\n", sim::printable(line.toStdString()).c_str());
  std::fflush(stderr);
}

}  // namespace zelkar::qt
