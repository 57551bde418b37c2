// The game's sounds as the window plays them. The player itself lives in a
// module of its own (qt/sound/), which the program loads only once its
// first frame is out (qt/sound_module.h): Qt Multimedia and the libraries
// below it are a third of everything the program would otherwise load and
// link before it can show anything.
#pragma once

#include <QString>
#include <functional>

#include "audio/sound.h"

namespace zelkar {

class SoundOutput {
 public:
  // Receives one line of text per problem found.
  using Reporter = std::function<void(const QString& line)>;

  virtual ~SoundOutput() = default;

  // Plays every queued request and empties the queue.
  virtual void playQueued(SoundQueue& queue) = 0;
};

// What the module exports, under this name: opens the four sounds in
// `folder`, telling `report` of each problem, and hands the player to the
// caller, who deletes it.
inline constexpr char kOpenSoundsSymbol[] = "zelkar_open_sounds";
using OpenSoundsFunction = SoundOutput* (*)(const QString& folder,
                                            const SoundOutput::Reporter& report);

}  // namespace zelkar
