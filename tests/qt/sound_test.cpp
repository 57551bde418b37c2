#include <gtest/gtest.h>

#include <QProcess>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "qt/sound/sound_player.h"
#include "qt/sound_module.h"
#include "qt_test_support.h"

namespace zelkar {
namespace {

const QString kSoundDir = QStringLiteral(ZELKAR_SOUND_DIR);
const QStringList kFiles{"fire.WAV", "ban.WAV", "ban2.WAV", "crash.WAV"};

using qt::test::readAll;

constexpr int kRate = 44100;  // samples a second

// Little-endian bytes of `v`.
QByteArray le(uint32_t v, int bytes) {
  QByteArray b;
  for (int i = 0; i < bytes; ++i) b += char((v >> (8 * i)) & 0xFF);
  return b;
}

// Checks the canonical 44-byte header make_sounds writes (PCM, mono,
// 44100 samples of 16 bits a second), then reads the samples after it.
std::vector<int16_t> samplesOf(const QString& name) {
  const QByteArray b = readAll(kSoundDir + "/" + name);
  const uint32_t size = uint32_t(b.size());
  EXPECT_EQ(b.left(44), "RIFF" + le(size - 8, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) +
                            le(kRate, 4) + le(2 * kRate, 4) + le(2, 2) + le(16, 2) + "data" +
                            le(size - 44, 4));
  std::vector<int16_t> samples;
  for (qsizetype at = 44; at + 1 < b.size(); at += 2)
    samples.push_back(int16_t(uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8)));
  return samples;
}

double zeroCrossingsPerSecond(const std::vector<int16_t>& w) {
  int n = 0;
  for (std::size_t i = 1; i < w.size(); ++i) n += (w[i - 1] < 0) != (w[i] < 0);
  return n * double(kRate) / double(w.size());
}

TEST(SoundFiles, HeadersLengthsAndLevels) {
  const std::pair<double, double> seconds[] = {{0.2, 0.3}, {0.4, 0.6}, {1.0, 1.4}, {0.15, 0.25}};
  for (int i = 0; i < kFiles.size(); ++i) {
    SCOPED_TRACE(kFiles[i].toStdString());
    const std::vector<int16_t> w = samplesOf(kFiles[i]);
    ASSERT_FALSE(w.empty());
    EXPECT_GE(double(w.size()) / kRate, seconds[i].first);
    EXPECT_LE(double(w.size()) / kRate, seconds[i].second);
    int peak = 0;
    for (int16_t s : w) peak = std::max(peak, std::abs(int(s)));
    EXPECT_LT(peak, 32767) << "clipped";
    EXPECT_NEAR(20.0 * std::log10(peak / 32768.0), -1.0, 0.2);  // dB
    // Fades: silence at both ends, so neither start nor end clicks.
    EXPECT_EQ(w.front(), 0);
    EXPECT_EQ(w.back(), 0);
  }
  // The vehicle explosion is the deep one; a mix-up of the files shows here.
  EXPECT_LT(zeroCrossingsPerSecond(samplesOf("ban2.WAV")),
            zeroCrossingsPerSecond(samplesOf("ban.WAV")));
}

// The synthesiser writes the same bytes again, and fails where it cannot
// write.
TEST(SoundFiles, SynthesisIsDeterministicAndAnUnwritableFolderFails) {
  QTemporaryDir dir;
  QProcess p;
  const auto run = [&](const QString& folder) {
    p.start(QStringLiteral(ZELKAR_MAKE_SOUNDS_PATH), {folder});
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  };
  ASSERT_EQ(run(dir.path()), 0) << p.readAllStandardError().toStdString();
  for (const QString& f : kFiles)
    EXPECT_EQ(readAll(dir.filePath(f)), readAll(kSoundDir + "/" + f)) << f.toStdString();
  EXPECT_NE(run(dir.filePath("no/such/folder")), 0);
  EXPECT_TRUE(p.readAllStandardError().contains("cannot write"));
}

constexpr Sound kAll[] = {Sound::hassyaon, Sound::bakuhatuon1, Sound::bakuhatuon2,
                          Sound::syoutotuon};

// Requests every sound many times over, directly and through a full queue.
void hammer(SoundPlayer& player) {
  for (int round = 0; round < 5; ++round)
    for (Sound s : kAll) player.play(s);
  SoundQueue q;
  for (std::size_t i = 0; i < SoundQueue::kCapacity + 10; ++i) q.push(kAll[i % 4]);
  player.playQueued(q);
  EXPECT_EQ(q.size(), 0u);
}

TEST(SoundPlayer, MissingFolderIsSilentAndReportsOnce) {
  QStringList lines;
  SoundPlayer player(QStringLiteral("/nonexistent/zelkar"), [&](const QString& l) { lines << l; });
  for (Sound s : kAll) EXPECT_TRUE(player.isSilent(s));
  hammer(player);
  ASSERT_EQ(lines.size(), 1);
  EXPECT_TRUE(lines[0].contains("/nonexistent/zelkar"));
}

TEST(SoundPlayer, BadFilesSilenceOnlyTheirChannels) {
  QTemporaryDir dir;
  ASSERT_TRUE(QFile::copy(kSoundDir + "/fire.WAV", dir.filePath("fire.WAV")));
  qt::test::writeAll(dir.filePath("ban.WAV"), "this is no sound");  // not a WAV file at all
  // ban2.WAV is missing; crash.WAV is a folder, which cannot be read.
  ASSERT_TRUE(QDir(dir.path()).mkdir("crash.WAV"));

  QStringList lines;
  auto collect = [&](const QString& l) { lines << l; };
  {
    SoundPlayer player(dir.path(), collect, SoundPlayer::Output::absent);
    hammer(player);
    for (Sound s : kAll) EXPECT_TRUE(player.isSilent(s)) << "no output, so no sound";
    EXPECT_EQ(lines.size(), 4) << lines.join('\n').toStdString();
    EXPECT_EQ(lines.filter("ban.WAV").size(), 1);
    EXPECT_EQ(lines.filter("ban2.WAV").size(), 1);
    EXPECT_EQ(lines.filter("crash.WAV").size(), 1);
    EXPECT_EQ(lines.filter("no audio output").size(), 1);
  }
  // With the machine's real output (or none), the good file is not blamed.
  lines.clear();
  SoundPlayer player(dir.path(), collect);
  for (Sound s : {Sound::bakuhatuon1, Sound::bakuhatuon2, Sound::syoutotuon})
    EXPECT_TRUE(player.isSilent(s));
  QTest::qWait(200);  // decoding runs in the background
  EXPECT_TRUE(lines.filter("fire.WAV").isEmpty());
  const bool haveOutput = lines.filter("no audio output").isEmpty();
  EXPECT_EQ(player.isSilent(Sound::hassyaon), !haveOutput);
}

TEST(SoundPlayer, BuiltSoundsPlayWithoutComplaint) {
  QStringList lines;
  SoundPlayer player(kSoundDir, [&](const QString& l) { lines << l; });
  // Play while background decoding may still run, then after it is done.
  for (int i = 0; i < 6; ++i) {
    hammer(player);
    QTest::qWait(30);
  }
  // On a machine without audio output the one line says so; nothing else,
  // and otherwise every file decoded.
  EXPECT_LE(lines.size(), 1) << lines.join('\n').toStdString();
  for (const QString& l : lines) EXPECT_TRUE(l.contains("no audio output")) << l.toStdString();
  for (Sound s : kAll) EXPECT_EQ(player.isSilent(s), !lines.isEmpty());
}

// The module as the build leaves it beside the program: found in order,
// and a missing or broken one is one line and silence, never a crash.
TEST(SoundModule, FoundInOrderAndAnyFaultIsOneLineOfSilence) {
  QTemporaryDir dir;
  const QString notALibrary = dir.filePath(QString::fromLatin1(qt::kSoundModuleFile));
  QFile text(notALibrary);
  ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("not a library") > 0);
  text.close();
  EXPECT_EQ(qt::soundModulePlaces("/g/usr/games", "../lib/zelkar"),
            (QStringList{"/g/usr/games/zelkar-sound.so", "/g/usr/lib/zelkar/zelkar-sound.so"}));
  const struct {
    QStringList places;
    const char* told;  // the one line, or nullptr when the module opened
  } cases[] = {
      {{dir.filePath("none.so")}, "sound module zelkar-sound.so not found"},
      {{notALibrary, kSoundDir + "/zelkar-sound.so"}, "cannot be loaded"},
      {{dir.filePath("none.so"), kSoundDir + "/zelkar-sound.so"}, nullptr},
  };
  for (const auto& c : cases) {
    QStringList lines;
    const auto out = qt::openSounds(QStringLiteral("/nonexistent/zelkar"), c.places,
                                    [&](const QString& l) { lines << l; });
    EXPECT_EQ(out == nullptr, c.told != nullptr);
    ASSERT_EQ(lines.size(), 1) << lines.join('\n').toStdString();
    // Opened, the player itself tells that the sound folder is missing.
    EXPECT_TRUE(lines[0].contains(c.told != nullptr ? c.told : "sound folder"))
        << lines[0].toStdString();
  }
}

}  // namespace
}  // namespace zelkar
