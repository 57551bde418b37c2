#include "qt/config_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

namespace zelkar::qt {

namespace {

const QString kFileName = QStringLiteral("config.txt");

// Permission bits do not tell (root ignores them, a read-only mount does
// not show in them): only making a file does.
bool canCreateFilesIn(const QString& dir) {
  if (!QFileInfo(dir).isDir()) return false;
  QTemporaryFile probe(dir + QStringLiteral("/.zelkar-write-test-XXXXXX"));
  return probe.open();
}

}  // namespace

ConfigLocation ConfigLocation::choose(const QString& programDir, const QString& xdgConfigHome,
                                      const QString& home) {
  const QString programFile = programDir + u'/' + kFileName;
  if (canCreateFilesIn(programDir)) return {programFile, programFile};
  const QString base = !xdgConfigHome.isEmpty() && QDir::isAbsolutePath(xdgConfigHome)
                           ? xdgConfigHome
                           : home + QStringLiteral("/.config");
  return {base + QStringLiteral("/zelkar/") + kFileName, programFile};
}

ConfigLocation ConfigLocation::forThisRun() {
  return choose(QCoreApplication::applicationDirPath(), qEnvironmentVariable("XDG_CONFIG_HOME"),
                QDir::homePath());
}

QString ConfigLocation::readPath() const {
  if (QFileInfo::exists(savePath_) || !QFileInfo::exists(programFile_)) return savePath_;
  return programFile_;
}

ConfigRead ConfigLocation::read() const {
  return readConfigFile(std::filesystem::path(QFile::encodeName(readPath()).toStdString()));
}

QString saveAtomically(const QString& path, const QByteArray& bytes,
                       const std::function<bool()>& beforeCommit) {
  const QString dir = QFileInfo(path).absolutePath();
  if (!QDir().mkpath(dir)) return QStringLiteral("cannot create the folder %1").arg(dir);
  QSaveFile file(path);
  // Unbuffered, so that a write cut short (a full disk) shows in the count
  // returned here: buffered, the short write surfaced nowhere and commit()
  // replaced the old file with the first bytes only.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
  if (file.write(bytes) != bytes.size()) {
    QString reason = file.errorString();
    // An empty reason would read as success to the caller.
    if (reason.isEmpty()) reason = QStringLiteral("the file could not be written whole");
    file.cancelWriting();
    return reason;
  }
  if (beforeCommit && !beforeCommit()) {
    file.cancelWriting();
    return QStringLiteral("interrupted");
  }
  if (!file.commit()) {
    const QString reason = file.errorString();
    return reason.isEmpty() ? QStringLiteral("the file could not be replaced") : reason;
  }
  return {};
}

}  // namespace zelkar::qt
