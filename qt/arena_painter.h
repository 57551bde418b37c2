// Paints the main window's screen model, one image pixel per client pixel,
// in the same stacking order and from the same pictures as the probe
// surface reads, so what the players see is what the probes find.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>

#include "ui/picture.h"
#include "ui/screen_model.h"

namespace zelkar::qt {

// A fresh 793 x 579 image for paintArena.
QImage makeArenaFrame();

// The whole client area: the background, the printed texts (they lie on the
// window's own surface, under every item), then every visible item bottom
// first, each as the probes see it with its caption on top. The start
// panel's widgets and the answer box are real widgets placed over the
// frame, so only their boxes are painted, not their captions.
void paintArena(QImage& frame, const ScreenModel& m);
// The same inside `area` only, leaving the rest of the frame as it was:
// each pixel comes out exactly as a whole repaint would make it. One pass
// however many pieces the area has. `painter`, when given, is active on
// `frame` and draws the text; its state is its own no more.
void paintArena(QImage& frame, const ScreenModel& m, const QRegion& area,
                QPainter* painter = nullptr);

// The pixels an item covers when painted: its box within its panel, and for
// right-aligned captions the text that runs past the box. Empty when hidden.
QRect paintedArea(const ScreenModel& m, const Item& item, const Item* parent);

// `pic` stretched onto `target` by picking source pixels, key colour pixels
// left out so that what lies beneath shows through; nothing outside `clip`.
void blitPicture(QImage& frame, const Picture& pic, const QRect& target, const QRect& clip);

// True for the items that are real widgets rather than painted.
bool isRealWidget(const ScreenModel& m, const Item* item);

}  // namespace zelkar::qt
