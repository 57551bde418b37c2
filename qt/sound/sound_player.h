// The four sound channels of the main window: the shot, the shell burst,
// the vehicle explosion and the collision, each with its own WAV file from
// the game's data folder, so the four kinds never cut each other off.
//
// Sound is decoration: a missing or unplayable file, or a machine without
// an audio output, only means silence. Each such problem is told once on
// standard error when it is found, never again per request, and playing
// never blocks the game.
#pragma once

#include <QString>
#include <array>
#include <memory>

#include "qt/sound_output.h"

class QSoundEffect;

namespace zelkar {

class SoundPlayer : public SoundOutput {
 public:
  // Whether to look for an audio output, or to act as on a machine that
  // has none (for tests, which must not depend on the machine's sound).
  enum class Output { probe, absent };

  // Loads fire.WAV, ban.WAV, ban2.WAV and crash.WAV from `folder`.
  SoundPlayer(const QString& folder, Reporter reporter, Output output = Output::probe);
  ~SoundPlayer() override;
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // Starts the sound from its beginning; a request while the same sound is
  // still playing restarts it (the shot of a held fire key starts anew with
  // each shot rather than piling up). Other channels play on.
  void play(Sound s);

  // Plays every queued request and empties the queue. A sound asked for
  // several times in one batch is started once: restarts within the same
  // instant would sound the same and only cost the sound server work.
  void playQueued(SoundQueue& queue) override;

  // Whether this channel stays silent for the rest of the run.
  bool isSilent(Sound s) const;

  static QString fileName(Sound s);

 private:
  struct Channel {
    std::unique_ptr<QSoundEffect> effect;
    QString path;
    bool silent = true;
  };
  static constexpr std::size_t kChannels = 4;

  void open(Channel& c);
  void report(const QString& line) const;

  std::array<Channel, kChannels> channels_;
  Reporter report_;
};

}  // namespace zelkar
