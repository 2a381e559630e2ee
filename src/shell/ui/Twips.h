#pragma once
// Twips (1/1440 inch) and pixels, through the screen's logical resolution.
#include <QScreen>
#include <QWidget>

namespace kal {

inline double logicalDpiOf(const QWidget* widget) {
    const QScreen* screen = widget ? widget->screen() : nullptr;
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}

inline int twipsToPixels(double twips, double dpi) { return static_cast<int>(twips * dpi / 1440.0 + 0.5); }
inline double pixelsToTwips(int pixels, double dpi) { return pixels * 1440.0 / dpi; }

}  // namespace kal
