#pragma once
// Window geometry in the settings file: section "Window", four keys per window (its name
// followed by "Height", "Top", "Width", "Left"), in twips (1/1440 inch), the window's outer
// size and position. The windows convert with the screen's logical DPI and keep a restored
// window on the screen; this is the arithmetic, apart from any window.
#include <string>

namespace kal {

inline constexpr double kTwipsPerInch = 1440.0;

struct WindowTwips {
    double Height = 1000;  // a missing key reads as "1000"
    double Top = 1000;
    double Width = 1000;
    double Left = 1000;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};

// The four values of window `name` (the leading number of each value, "." or "," taken as the
// decimal point; 1000 for a missing key or one that does not read).
WindowTwips readWindowTwips(const std::string& iniPath, const std::string& name);

// Writes Height, Top, Width and Left, in this order, as whole twips, in one rewrite of the
// file. Throws FileError when the file cannot be written.
void writeWindowTwips(const std::string& iniPath, const std::string& name, const WindowTwips& t);

// twips × dpi / 1440, rounded; a dpi that is not positive counts as 96.
int twipsToPixels(double twips, double logicalDpi);
double pixelsToTwips(int pixels, double logicalDpi);  // whole twips
PixelRect toPixels(const WindowTwips& t, double logicalDpi);
WindowTwips toTwips(const PixelRect& r, double logicalDpi);

// The window made to fit the area: at most the area's size but at least `minWidth` x `minHeight`
// (and 1 pixel), and moved so it lies wholly within it. A window whose minimum is larger than the
// area stands at the area's left or top edge, where its title bar and left side stay in reach.
PixelRect clampToArea(PixelRect window, const PixelRect& area, int minWidth = 1, int minHeight = 1);

}  // namespace kal
