#pragma once
// Draws a display list into a plain picture without Qt: pixel squares, segments of any width,
// circles (outline and filled), filled polygons and rectangles, written straight into the scan
// lines without antialiasing. Text is left to the window's font: it is skipped, or stands as the
// outline of its box when text metrics are given (for tests and pictures without fonts).
#include "platform/TextMetrics.h"
#include "shared/ImageBuffer.h"
#include "view3d/DisplayList.h"

namespace kal {

struct RasterOptions {
    bool fillBackground = true;                        // start from the list's background
    const platform::TextMetrics* textBoxes = nullptr;  // outline text boxes with these sizes
};

// Everything outside the picture is clipped.
void rasterise(const DisplayList& list, ImageBuffer& image, const RasterOptions& options = {});

// Single primitives, for a window that paints some items itself.
void rasterise(const Primitive& item, ImageBuffer& image, const RasterOptions& options = {});

}  // namespace kal
