#include "qt/run_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <vector>

namespace zelkar::qt {

namespace {

// zelkar-sim's seed when neither the file nor --seed gives one.
constexpr uint32_t kDefaultReplaySeed = 0;

struct Named {
  const char* option;
  const QString& path;
};

// The path with its folder resolved through links, for a file that does
// not exist yet.
QString placeOf(const QString& path) {
  const QFileInfo info(path);
  const QString folder = info.absoluteDir().canonicalPath();
  if (folder.isEmpty()) return QDir::cleanPath(info.absoluteFilePath());
  return folder + u'/' + info.fileName();
}

// An output is opened once without emptying it, to learn early whether it
// can be written. Returns the reason it cannot, or an empty string; sets
// `created` when this call made the file.
QString tryOutput(const QString& path, bool& created) {
  const QByteArray name = QFile::encodeName(path);
  int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
  created = fd >= 0;
  // O_NONBLOCK: a pipe without a reader is refused rather than waited for.
  if (fd < 0 && errno == EEXIST)
    fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return QString::fromLocal8Bit(std::strerror(errno));
  ::close(fd);
  return {};
}

}  // namespace

bool sameFile(const QString& a, const QString& b) {
  struct stat sa = {}, sb = {};
  const bool aExists = ::stat(QFile::encodeName(a).constData(), &sa) == 0;
  const bool bExists = ::stat(QFile::encodeName(b).constData(), &sb) == 0;
  if (aExists && bExists) {
    if (S_ISCHR(sa.st_mode)) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  }
  if (aExists != bExists) return false;
  return placeOf(a) == placeOf(b);
}

bool RunFiles::finishOutputs() {
  bool ok = true;
  if (recorder && !recorder->finish()) ok = false;
  if (hashes && !hashes->finish()) ok = false;
  return ok;
}

void checkRunFiles(const CommandLine& options, RunFiles& files) {
  const Named all[] = {{"--replay", options.replayPath},
                       {"--record", options.recordPath},
                       {"--hashes", options.hashesPath}};
  for (std::size_t i = 0; i < std::size(all); ++i)
    for (std::size_t j = i + 1; j < std::size(all); ++j)
      if (!all[i].path.isEmpty() && !all[j].path.isEmpty() && sameFile(all[i].path, all[j].path))
        files.errors << QStringLiteral("%1 %2 and %3 %4 are the same file")
                            .arg(QLatin1String(all[i].option), all[i].path,
                                 QLatin1String(all[j].option), all[j].path);
  if (!files.errors.isEmpty() || options.replayPath.isEmpty() || files.replay) return;
  Replayer::Read read =
      Replayer::fromFile(options.replayPath, options.seed.value_or(kDefaultReplaySeed));
  if (read.replay)
    files.replay = std::move(read.replay);
  else
    files.errors << read.error;
}

void openOutputs(const CommandLine& options, RunFiles& files) {
  struct Output {
    const char* what;
    const QString& path;
    bool created = false;
  };
  std::vector<Output> outputs;
  if (!options.recordPath.isEmpty()) outputs.push_back({"recording", options.recordPath});
  if (!options.hashesPath.isEmpty()) outputs.push_back({"hash list", options.hashesPath});
  for (Output& o : outputs) {
    const QString why = tryOutput(o.path, o.created);
    if (!why.isEmpty())
      files.errors
          << QStringLiteral("cannot write the %1 %2: %3").arg(QLatin1String(o.what), o.path, why);
  }
  if (files.errors.isEmpty() && !options.recordPath.isEmpty()) {
    // Its first line is written at once: a file that takes nothing
    // (/dev/full) is found here, before anything is played.
    files.recorder = std::make_unique<Recorder>(options.recordPath);
    if (!files.recorder->isOpen() || files.recorder->failed()) {
      // A write failure was told as it came; the refusal still needs a line.
      files.errors << (files.recorder->error().isEmpty()
                           ? QStringLiteral("the recording %1 took not even its first line; "
                                            "nothing is played")
                                 .arg(options.recordPath)
                           : files.recorder->error());
      files.recorder.reset();
    }
  }
  if (files.errors.isEmpty() && !options.hashesPath.isEmpty()) {
    files.hashes = std::make_unique<HashLog>(options.hashesPath);
    if (!files.hashes->isOpen()) {
      files.errors << files.hashes->error();
      files.hashes.reset();
    }
  }
  if (files.errors.isEmpty()) return;
  files.recorder.reset();
  files.hashes.reset();
  for (const Output& o : outputs)
    if (o.created) QFile::remove(o.path);
}

RunFiles openRunFiles(const CommandLine& options) {
  RunFiles files;
  checkRunFiles(options, files);
  if (files.ok()) openOutputs(options, files);
  return files;
}

}  // namespace zelkar::qt
