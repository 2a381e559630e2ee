#include <gtest/gtest.h>

#include "platform/Regional.h"
#include "shared/IniFile.h"
#include "shared/WindowPos.h"
#include "support/TempDir.h"

namespace kal {
namespace {

using testing::TempDir;

TEST(WindowPos, MissingKeysGive1000TwipsAndStoredValuesReadUnderEitherSeparator) {
    TempDir dir;
    const std::string ini =
        dir.write("k.ini", "[Window]\r\nFormUnitsHeight=3315\r\nFormUnitsTop=100,5\r\n\r\n[LastEntry]\r\n");
    const WindowTwips t = readWindowTwips(ini, "FormUnits");
    EXPECT_EQ(t.Height, 3315);
    EXPECT_EQ(t.Top, 100.5);
    EXPECT_EQ(t.Width, 1000);
    EXPECT_EQ(t.Left, 1000);
    const WindowTwips none = readWindowTwips(dir.file("absent.ini"), "FormUnits");
    EXPECT_EQ(none.Height, 1000);
    EXPECT_EQ(none.Left, 1000);
}

TEST(WindowPos, WritesTheFourKeysInOrderAsWholeTwips) {
    TempDir dir;
    const std::string ini = dir.file("k.ini");
    platform::ScopedDecimalSeparator comma(',');
    writeWindowTwips(ini, "FormX", WindowTwips{3315.4, 100, 4575, -20});
    EXPECT_EQ(TempDir::read(ini),
              "[Window]\r\nFormXHeight=3315\r\nFormXTop=100\r\nFormXWidth=4575\r\nFormXLeft=-20\r\n\r\n["
              "LastEntry]\r\n");
}

TEST(WindowPos, ConvertsWithTheLogicalDpi) {
    EXPECT_EQ(twipsToPixels(1440, 96), 96);
    EXPECT_EQ(twipsToPixels(1000, 96), 67);
    EXPECT_EQ(twipsToPixels(1440, 144), 144);
    EXPECT_EQ(twipsToPixels(1440, 0), 96);  // no DPI known: 96
    EXPECT_EQ(twipsToPixels(1e300, 96), INT_MAX / 2);
    EXPECT_EQ(pixelsToTwips(96, 96), 1440);
    EXPECT_EQ(pixelsToTwips(100, 120), 1200);
    const PixelRect r{10, 20, 300, 200};
    EXPECT_EQ(toPixels(toTwips(r, 96), 96), r);
}

TEST(WindowPos, ClampingBringsAWindowBackOntoTheArea) {
    const PixelRect screen{0, 0, 800, 600};
    EXPECT_EQ(clampToArea({100, 100, 300, 200}, screen), (PixelRect{100, 100, 300, 200}));
    EXPECT_EQ(clampToArea({5000, -300, 300, 200}, screen), (PixelRect{500, 0, 300, 200}));
    EXPECT_EQ(clampToArea({-50, 550, 2000, 100}, screen), (PixelRect{0, 500, 800, 100}));
    EXPECT_EQ(clampToArea({10, 10, 0, -5}, screen), (PixelRect{10, 10, 1, 1}));
    EXPECT_EQ(clampToArea({0, 0, 100, 100}, PixelRect{1920, 0, 1024, 768}), (PixelRect{1920, 0, 100, 100}));
}

// A window is never made smaller than its usable minimum to fit: where the minimum is larger than
// the area, the window stands at its left and top edges (title bar in reach) and the area scrolls.
TEST(WindowPos, ClampingKeepsTheWindowsMinimum) {
    const PixelRect area{0, 0, 800, 600};
    EXPECT_EQ(clampToArea({700, 100, 1200, 300}, area, 1146, 200), (PixelRect{0, 100, 1146, 300}));
    EXPECT_EQ(clampToArea({300, 500, 400, 700}, area, 200, 790), (PixelRect{300, 0, 400, 790}));
    EXPECT_EQ(clampToArea({300, 300, 100, 100}, area, 200, 150), (PixelRect{300, 300, 200, 150}));
    EXPECT_EQ(clampToArea({700, 500, 100, 100}, area, 200, 150), (PixelRect{600, 450, 200, 150}));
}

}  // namespace
}  // namespace kal
