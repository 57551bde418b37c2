#include "qt/sound/sound_player.h"

#include <sys/stat.h>

#include <QAudioDevice>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <QWaveDecoder>
#include <utility>

namespace zelkar {
namespace {

// 16 MiB: a minute and a half of CD-quality stereo, far more than the
// short effects need.
constexpr std::size_t kMaxWavBytes = 16 * 1024 * 1024;

// Why the file at `path` cannot be played, or an empty string when its
// header reads as a WAV file. Checking before handing the file to the sound
// effect keeps a bad file to our one line instead of a decoder error later.
QString wavProblem(const QString& path) {
  if (!QFileInfo::exists(path)) return QStringLiteral("is missing");
  // A pipe would block start-up at the open, a device never end; the
  // file is read whole later, so its size is held to a sound effect's.
  struct stat info = {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
    return QStringLiteral("is not a regular file");
  if (std::size_t(info.st_size) > kMaxWavBytes)
    return QStringLiteral("is larger than %1 bytes").arg(kMaxWavBytes);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return QStringLiteral("cannot be read (%1)").arg(file.errorString());
  QWaveDecoder decoder(&file);
  if (!decoder.open(QIODevice::ReadOnly) || !decoder.audioFormat().isValid())
    return QStringLiteral("is not a WAV file that can be played");
  return {};
}

}  // namespace

SoundPlayer::SoundPlayer(const QString& folder, Reporter reporter, Output output)
    : report_(std::move(reporter)) {
  const QDir dir(folder);
  if (folder.isEmpty() || !dir.exists()) {
    report(QStringLiteral("zelkar: sound folder %1 not found; playing without sound").arg(folder));
    return;
  }
  bool anyFile = false;
  for (std::size_t i = 0; i < kChannels; ++i) {
    Channel& c = channels_[i];
    c.path = dir.filePath(fileName(static_cast<Sound>(i)));
    const QString problem = wavProblem(c.path);
    if (!problem.isEmpty()) {
      report(
          QStringLiteral("zelkar: sound file %1 %2; that sound stays silent").arg(c.path, problem));
      continue;
    }
    c.silent = false;
    anyFile = true;
  }
  if (!anyFile) return;
  if (output == Output::absent || QMediaDevices::defaultAudioOutput().isNull()) {
    report(QStringLiteral("zelkar: no audio output device; playing without sound"));
    for (Channel& c : channels_) c.silent = true;
    return;
  }
  for (Channel& c : channels_)
    if (!c.silent) open(c);
}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::open(Channel& c) {
  c.effect = std::make_unique<QSoundEffect>();
  // Decoding runs in the background; a file that fails there is found out
  // here, after its header looked right.
  QObject::connect(c.effect.get(), &QSoundEffect::statusChanged, c.effect.get(), [this, &c] {
    if (c.silent || c.effect->status() != QSoundEffect::Error) return;
    c.silent = true;
    report(QStringLiteral("zelkar: sound file %1 cannot be played; that sound stays silent")
               .arg(c.path));
  });
  c.effect->setSource(QUrl::fromLocalFile(c.path));
}

void SoundPlayer::play(Sound s) {
  const auto i = static_cast<std::size_t>(s);
  if (i >= kChannels) return;
  Channel& c = channels_[i];
  if (c.silent || !c.effect || c.effect->status() == QSoundEffect::Error) return;
  // Stop first so that every request starts the sound from its beginning,
  // however the sound effect treats a play while it is playing.
  if (c.effect->isPlaying()) c.effect->stop();
  c.effect->play();
}

void SoundPlayer::report(const QString& line) const { report_(line); }

void SoundPlayer::playQueued(SoundQueue& queue) {
  std::array<bool, kChannels> started{};
  for (std::size_t k = 0; k < queue.size(); ++k) {
    const auto i = static_cast<std::size_t>(queue[k]);
    if (i >= kChannels || started[i]) continue;
    started[i] = true;
    play(queue[k]);
  }
  queue.clear();
}

bool SoundPlayer::isSilent(Sound s) const {
  const auto i = static_cast<std::size_t>(s);
  return i >= kChannels || channels_[i].silent;
}

QString SoundPlayer::fileName(Sound s) {
  switch (s) {
    case Sound::hassyaon:
      return QStringLiteral("fire.WAV");
    case Sound::bakuhatuon1:
      return QStringLiteral("ban.WAV");
    case Sound::bakuhatuon2:
      return QStringLiteral("ban2.WAV");
    case Sound::syoutotuon:
      return QStringLiteral("crash.WAV");
  }
  return {};
}

}  // namespace zelkar
