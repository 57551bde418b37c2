// Finds, loads and opens the sound module (qt/sound_output.h says why the
// program does not link it). Beside the program is where a build keeps it;
// an installed program finds it in its private library folder, by that
// folder's path relative to the program's own, so that an installation
// unpacked under any root plays with its own module.
#pragma once

#include <QStringList>
#include <memory>

#include "qt/sound_output.h"

namespace zelkar::qt {

// The module's file name.
inline constexpr char kSoundModuleFile[] = "zelkar-sound.so";

// Where the module is looked for, in order: beside the program, then at
// `fromProgram` relative to the program's folder (empty: nowhere else).
QStringList soundModulePlaces(const QString& programFolder, const QString& fromProgram);

// The sounds in `folder`, through the first module found at `places`; a
// module missing or unloadable is told to `report` once and means silence
// (null), as any other sound problem does.
std::unique_ptr<SoundOutput> openSounds(const QString& folder, const QStringList& places,
                                        const SoundOutput::Reporter& report);

// Standard error, one printable line each: the reporter the window uses.
void reportOnStandardError(const QString& line);

}  // namespace zelkar::qt
