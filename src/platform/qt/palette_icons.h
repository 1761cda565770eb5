// The pictures of the palette buttons, painted from what a face describes: a bevel, then shapes, letters and
// music-font outlines in logical coordinates, so Qt renders them at the screen's own density.
#pragma once

#include <QPainter>
#include <QRectF>

#include "shell/palette.h"

namespace notavera {

void PaintPaletteFace(QPainter& painter, const QRectF& rect, const PaletteFace& face);

}  // namespace notavera
