// Helpers of the window tests: scratch folders, files, captured messages.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <utility>
#include <vector>

#include "qt/message_box.h"

namespace zelkar::qt::test {

inline QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

// Message boxes shown, as (text, title), instead of modal dialogs.
struct CapturedMessages {
  std::vector<std::pair<QString, QString>> shown;
  MessageBoxFn fn() {
    return [this](const QString& text, const QString& title) { shown.emplace_back(text, title); };
  }
};

// A folder no file can be made in, even for root: permission bits first,
// and where they do not hold (root) the kernel's own /proc.
inline QString unwritableFolder(const QTemporaryDir& scratch) {
  const QString dir = scratch.filePath(QStringLiteral("readonly"));
  QDir().mkpath(dir);
  QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
  QFile probe(dir + QStringLiteral("/probe"));
  if (!probe.open(QIODevice::WriteOnly)) return dir;
  probe.close();
  probe.remove();
  return QStringLiteral("/proc");
}

}  // namespace zelkar::qt::test
