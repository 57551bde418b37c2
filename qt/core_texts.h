// The texts that reach the window from the core as plain UTF-8: captions in
// the arena and its panels, the printed notice, and the core's message
// boxes. The core holds them in Japanese whatever the players read, so the
// state and its hash never depend on the language; the window translates
// them where it shows them.
#pragma once

#include <QString>
#include <span>
#include <string_view>

namespace zelkar::qt {

// `utf8` in the language in use. Texts the catalogue does not hold (the
// read-outs' numbers, a typed answer) come back as they are.
QString coreText(std::string_view utf8);

// Every text the core can show, in Japanese: the list from which the
// catalogue learns them (tests check a played match shows nothing else).
std::span<const char* const> coreTexts();

}  // namespace zelkar::qt
