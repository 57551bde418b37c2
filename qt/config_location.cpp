#include "qt/config_location.h"

#include <pwd.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
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

QString userConfigFile(const QString& xdgConfigHome, const QString& home) {
  // Joined and cleaned: a home of "/" (HOME unset) must not give "//.config".
  const QString base = !xdgConfigHome.isEmpty() && QDir::isAbsolutePath(xdgConfigHome)
                           ? xdgConfigHome
                           : home + QStringLiteral("/.config");
  return QDir::cleanPath(base + QStringLiteral("/zelkar/") + kFileName);
}

}  // namespace

ConfigLocation ConfigLocation::choose(const QString& programDir, const QString& xdgConfigHome,
                                      const QString& home) {
  const QString programFile = programDir + u'/' + kFileName;
  if (canCreateFilesIn(programDir)) return {programFile, programFile};
  return {userConfigFile(xdgConfigHome, home), programFile};
}

ConfigLocation ConfigLocation::choose(const GameFolders& folders, const QString& xdgConfigHome,
                                      const QString& home) {
  if (folders.ownFolder) return choose(folders.program, xdgConfigHome, home);
  return {userConfigFile(xdgConfigHome, home), folders.data + u'/' + kFileName};
}

ConfigLocation ConfigLocation::forThisRun(const GameFolders& folders) {
  return choose(folders, qEnvironmentVariable("XDG_CONFIG_HOME"), homeFolder());
}

QString homeFolder() {
  const QString home = qEnvironmentVariable("HOME");
  if (QDir::isAbsolutePath(home)) return home;
  // Without HOME (a service, `env -i`) the account's own home still holds.
  if (const passwd* account = ::getpwuid(::getuid());
      account != nullptr && account->pw_dir != nullptr && account->pw_dir[0] == '/')
    return QFile::decodeName(account->pw_dir);
  return QDir::rootPath();
}

int removeStaleSaves(const QString& savePath, std::chrono::seconds olderThan) {
  const QFileInfo target(savePath);
  QDir folder = target.absoluteDir();
  // A save's temporary file is the file's name and six letters or digits;
  // the write test's is its own prefix and six.
  static const QRegularExpression pattern(
      QStringLiteral("^(%1|\\.zelkar-write-test-)[A-Za-z0-9]{6}$")
          .arg(QRegularExpression::escape(target.fileName() + u'.')));
  const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-qint64(olderThan.count()));
  int removed = 0;
  for (const QFileInfo& f : folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
    // Another copy of the game saving right now has a young file: keep it.
    if (f.isSymLink() || !f.isFile() || !pattern.match(f.fileName()).hasMatch() ||
        f.lastModified().toUTC() > before)
      continue;
    if (QFile::remove(f.absoluteFilePath())) ++removed;
  }
  return removed;
}

QString ConfigLocation::readPath() const {
  if (QFileInfo::exists(savePath_) || !QFileInfo::exists(programFile_)) return savePath_;
  return programFile_;
}

ConfigRead ConfigLocation::read() const {
  return readConfigFile(std::filesystem::path(QFile::encodeName(readPath()).toStdString()));
}

QString saveAtomically(const QString& path, const QByteArray& bytes) {
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
  if (!file.commit()) {
    const QString reason = file.errorString();
    return reason.isEmpty() ? QStringLiteral("the file could not be replaced") : reason;
  }
  return {};
}

}  // namespace zelkar::qt
