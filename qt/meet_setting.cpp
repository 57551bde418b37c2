#include "qt/meet_setting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "meet/protocol.h"
#include "qt/config_location.h"
#include "settings/regular_file.h"

namespace zelkar::qt {

namespace {

// A host name has at most 253 characters; with a port and a line break
// anything longer is not an address this program wrote.
constexpr std::size_t kMaxSettingBytes = 300;

}  // namespace

QString meetFilePath(const QString& configSavePath) {
  return QFileInfo(configSavePath).dir().filePath(QStringLiteral("meet.txt"));
}

std::optional<net::Endpoint> parseMeetPoint(const QString& typed) {
  const std::string text = typed.trimmed().toStdString();
  auto at = net::parseJoinAddress(text);
  if (!at || text.find_first_of(" \t") != std::string::npos) return std::nullopt;
  if (text.find(':') == std::string::npos) at->port = meet::kDefaultMeetPort;
  return at;
}

QString readMeetSetting(const QString& path) {
  const FileRead r = readRegularFile(path.toStdString(), kMaxSettingBytes);
  if (!r.ok()) return {};
  const QString text = QString::fromUtf8(r.bytes->data(), qsizetype(r.bytes->size())).trimmed();
  return parseMeetPoint(text) ? text : QString();
}

QString saveMeetSetting(const QString& path, const QString& typed) {
  const QString text = typed.trimmed();
  if (text.isEmpty()) {
    // Forgotten: a missing file says "none" as well as an empty one.
    return !QFile::exists(path) || QFile::remove(path)
               ? QString()
               : QStringLiteral("cannot remove %1").arg(path);
  }
  return saveAtomically(path, (text + u'\n').toUtf8());
}

}  // namespace zelkar::qt
