#pragma once
// Rasterises a display list into a window's back buffer: the pixel squares are written straight
// into the picture's rows (they are most of a large cloud), the other primitives go through
// QPainter without antialiasing so that every pixel lands where the core computed it, and text
// labels are drawn with the window's font. Items are drawn in list order.
#include <QFont>
#include <QImage>

#include "view3d/DisplayList.h"

namespace kal {

QColor qtColour(StoredColour colour);

// Fills `image` (Format_RGB32) with the list's background and draws its items.
void paintDisplayList(const DisplayList& list, QImage& image, const QFont& labelFont);

}  // namespace kal
