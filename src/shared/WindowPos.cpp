#include "shared/WindowPos.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "shared/IniFile.h"
#include "shared/NumberText.h"

namespace kal {

namespace {

double readTwips(const std::string& iniPath, const std::string& key) {
    try {
        return leadingOwnNumber(readIniValue(iniPath, key));
    } catch (const std::exception&) {
        return 1000.0;
    }
}

double dpiOr96(double dpi) { return dpi > 0 && std::isfinite(dpi) ? dpi : 96.0; }

}  // namespace

WindowTwips readWindowTwips(const std::string& iniPath, const std::string& name) {
    WindowTwips t;
    t.Height = readTwips(iniPath, name + "Height");
    t.Top = readTwips(iniPath, name + "Top");
    t.Width = readTwips(iniPath, name + "Width");
    t.Left = readTwips(iniPath, name + "Left");
    return t;
}

void writeWindowTwips(const std::string& iniPath, const std::string& name, const WindowTwips& t) {
    auto whole = [](double v) { return static_cast<long long>(std::llround(std::clamp(v, -1e15, 1e15))); };
    writeIniValues(iniPath, {{"Window", name + "Height", whole(t.Height)},
                             {"Window", name + "Top", whole(t.Top)},
                             {"Window", name + "Width", whole(t.Width)},
                             {"Window", name + "Left", whole(t.Left)}});
}

int twipsToPixels(double twips, double logicalDpi) {
    const double px = twips * dpiOr96(logicalDpi) / kTwipsPerInch;
    if (!std::isfinite(px)) return 0;
    return static_cast<int>(std::lround(std::clamp(px, double{INT_MIN / 2}, double{INT_MAX / 2})));
}

double pixelsToTwips(int pixels, double logicalDpi) {
    return std::round(pixels * kTwipsPerInch / dpiOr96(logicalDpi));
}

PixelRect toPixels(const WindowTwips& t, double logicalDpi) {
    return {twipsToPixels(t.Left, logicalDpi), twipsToPixels(t.Top, logicalDpi),
            twipsToPixels(t.Width, logicalDpi), twipsToPixels(t.Height, logicalDpi)};
}

WindowTwips toTwips(const PixelRect& r, double logicalDpi) {
    WindowTwips t;
    t.Height = pixelsToTwips(r.height, logicalDpi);
    t.Top = pixelsToTwips(r.top, logicalDpi);
    t.Width = pixelsToTwips(r.width, logicalDpi);
    t.Left = pixelsToTwips(r.left, logicalDpi);
    return t;
}

PixelRect clampToArea(PixelRect w, const PixelRect& area, int minWidth, int minHeight) {
    minWidth = std::max(1, minWidth);
    minHeight = std::max(1, minHeight);
    w.width = std::clamp(w.width, minWidth, std::max(minWidth, area.width));
    w.height = std::clamp(w.height, minHeight, std::max(minHeight, area.height));
    w.left = std::clamp(w.left, area.left, std::max(area.left, area.left + area.width - w.width));
    w.top = std::clamp(w.top, area.top, std::max(area.top, area.top + area.height - w.height));
    return w;
}

}  // namespace kal
