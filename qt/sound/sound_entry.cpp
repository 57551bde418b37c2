// The sound module's one way in: the program looks this function up by its
// name after loading the module (qt/sound_module.cpp).
#include <type_traits>

#include "qt/sound/sound_player.h"

extern "C" zelkar::SoundOutput* zelkar_open_sounds(const QString& folder,
                                                   const zelkar::SoundOutput::Reporter& report) {
  return new zelkar::SoundPlayer(folder, report);
}

// The name the program looks up and the function's type are one, checked
// here where both are in sight.
static_assert(std::is_same_v<decltype(&zelkar_open_sounds), zelkar::OpenSoundsFunction>);
