#pragma once
// Rasterises a display list into a window's back buffer: the pixel squares and the segments (the
// points and deviation vectors, nearly all of a large cloud's items) are written straight into the
// picture's rows by the core's rasteriser, the same pixels the tests of the redraw read back and
// a quarter of QPainter's time per line; circles, polygons and rectangles go through QPainter
// without antialiasing, and text labels are drawn with the window's font. Items are drawn in list
// order, all into the one buffer.
#include <QFont>
#include <QImage>

#include "shared/ImageBuffer.h"
#include "view3d/DisplayList.h"

namespace kal {

QColor qtColour(StoredColour colour);

// A Format_RGB32 QImage over the buffer's pixels (no copy): valid while the buffer keeps its size.
QImage pictureOf(ImageBuffer& pixels);

// Fills `pixels` with the list's background and draws its items.
void paintDisplayList(const DisplayList& list, ImageBuffer& pixels, const QFont& labelFont);

}  // namespace kal
