// The parts of the main window's layout, each filled by its own file.
#pragma once

#include <cstdint>
#include <string_view>

#include "ui/screen_model.h"

namespace zelkar::layout {

inline constexpr int16_t kTextHeight = 12;  // px: a line of 9-pt text at 96 dpi

// Width of a one-line caption at 9 pt: 12 px for a full-width character,
// 6 px for an ASCII one (the Japanese font has fixed half and full widths),
// plus 2 px so the last glyph is not clipped.
int16_t textWidth(std::string_view text);

// A 9-pt label sized to its text: black on `back`.
void label(Item& item, int16_t left, int16_t top, std::string_view text, int32_t back);
// A read-out: as wide as the gap up to its unit label, numbers right-aligned.
void valueLabel(Item& item, int16_t left, int16_t top, int16_t width, int32_t back);

void startPanel(ScreenModel& m);
void settingsPanels(ScreenModel& m);
void instruments(ScreenModel& m);
void messages(ScreenModel& m);
void sprites(ScreenModel& m);
void scoreWindow(ScreenModel& m);

}  // namespace zelkar::layout
