// The vehicle pictures. The gun line hline(p) is part of what the probes
// read at a vehicle, so it is drawn into the picture: at load one picture
// per player and gun direction is made, and whoever draws or probes a
// vehicle picks the one whose line ends where hline(p) ends now.
#pragma once

#include <cstdint>

#include "app/game_state.h"
#include "ui/picture.h"
#include "ui/screen_model.h"

namespace zelkar {

// The disc of vehicle p without its gun line: kyara(p).picture.
Picture makeVehicleBody(int player);

// Draws a line `width` px wide from (x1, y1) to (x2, y2) into pic: every
// pixel whose centre lies within width / 2 of the segment (round ends).
void drawGunLine(Picture& pic, float x1, float y1, float x2, float y2, int32_t colour,
                 int16_t width);

// Load step, once the direction tables exist: for p = 0, 1 and every gun
// direction k the body with hline(p) from (vehicleRadius, vehicleRadius)
// to (dirLineX(k), dirLineY(k)). Calling it again redraws the same slots.
void makeVehiclePictures(ScreenModel& screen, const GameState& s);

// The picture vehicle p shows now: the one made for the direction whose
// line end is nearest the end of hline(p) (exact for the table's own
// points), or the plain body before makeVehiclePictures has run.
int16_t kyaraPicture(const ScreenModel& screen, int p);

// The picture an item is drawn with: kyaraPicture for the vehicles, the
// item's own picture for everything else.
int16_t drawnPicture(const ScreenModel& screen, const Item& item);

}  // namespace zelkar
