// Copying a window's view into a view record and back: the window size in twips, the hiding
// plane's fixed matrix, saved views made with another number of points, and what a new window
// and a new flag take from the default record.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/SampleJobs.h"
#include "view3d/ViewRecordCopy.h"

namespace kal {
namespace {

TEST(ViewRecordCopy, WindowSizeInTwipsRoundsHalvesToEvenAndClampsToSixteenBits) {
    const struct {
        double twips;
        std::int16_t stored;
    } cases[] = {
        {1000.0, 1000},
        {800.0, 800},
        {1000.5, 1000},
        {1001.5, 1002},
        {999.49, 999},
        {999.51, 1000},
        {40000.0, 32767},
        {32767.5, 32767},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {std::numeric_limits<double>::infinity(), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(twipsToRecordField(c.twips), c.stored) << c.twips;
}

TEST(ViewRecordCopy, StoreTakesEveryFieldAndTheWindowSize) {
    const ScreenProperties window = testing::makeView(1);
    ScreenProperties slot;
    storeViewInRecord(window, {1000.0, 800.0}, slot);
    EXPECT_EQ(slot.WindowWidth, 1000);
    EXPECT_EQ(slot.WindowHeight, 800);
    ScreenProperties expected = window;
    expected.WindowWidth = 1000;
    expected.WindowHeight = 800;
    EXPECT_EQ(slot, expected);
}

TEST(ViewRecordCopy, RecordsShareNoArrayWithTheWindow) {
    ScreenProperties window = testing::makeView(2);
    ScreenProperties slot;
    storeViewInRecord(window, {1.0, 1.0}, slot);
    const ScreenProperties before = slot;
    window.FlagOfPoint.set(5, 7);
    window.Lines(1, 1) = 99;
    window.ViewAngles(1, 1) = -1;
    window.FahneProps[1].Name = "changed";
    EXPECT_EQ(slot, before);
}

TEST(ViewRecordCopy, BlackOffXComesBackAsTheNearestSingle) {
    ScreenProperties window = testing::makeView(1);
    const double offset = 0.1;  // what the hiding plane computed
    window.BlackOffX = static_cast<float>(offset);
    ScreenProperties slot;
    storeViewInRecord(window, {}, slot);
    ScreenProperties restored;
    restoreViewFromRecord(slot, restored);
    EXPECT_EQ(restored.BlackOffX, 0.1f);
    EXPECT_NE(static_cast<double>(restored.BlackOffX), offset);
}

TEST(ViewRecordCopy, PlaneMatrixTravelsOnlyWithoutItsIndexZero) {
    ScreenProperties window = testing::makeView(1);
    for (int i = 0; i <= 3; ++i)
        for (int j = 0; j <= 3; ++j) window.PlaneMatrix(i, j) = 10 * i + j + 0.5;
    ScreenProperties slot;
    slot.PlaneMatrix(0, 2) = -7;
    storeViewInRecord(window, {}, slot);
    EXPECT_EQ(slot.PlaneMatrix(0, 2), -7);  // the slot's own
    EXPECT_EQ(slot.PlaneMatrix(2, 0), 0);
    EXPECT_EQ(slot.PlaneMatrix(2, 3), 23.5);

    ScreenProperties other;
    other.PlaneMatrix(0, 0) = 4;
    other.PlaneMatrix(3, 0) = 5;
    restoreViewFromRecord(slot, other);
    EXPECT_EQ(other.PlaneMatrix(0, 0), 4);
    EXPECT_EQ(other.PlaneMatrix(3, 0), 5);
    EXPECT_EQ(other.PlaneMatrix(0, 2), 0);  // the record's index-0 element does not come in
    EXPECT_EQ(other.PlaneMatrix(1, 1), 11.5);
}

TEST(ViewRecordCopy, RingRestoreKeepsTheWindowSize) {
    ScreenProperties slot;
    storeViewInRecord(testing::makeView(3), {5000, 4000}, slot);
    ScreenProperties window;
    window.WindowWidth = 1234;
    window.WindowHeight = 567;
    restoreViewFromRecord(slot, window);
    EXPECT_EQ(window.WindowWidth, 1234);
    EXPECT_EQ(window.WindowHeight, 567);
    EXPECT_EQ(window.Massstab, slot.Massstab);
    EXPECT_EQ(window.CurrentFahne, slot.CurrentFahne);
    EXPECT_EQ(window.FlagOfPoint, slot.FlagOfPoint);
}

TEST(ViewRecordCopy, SavedViewKeepsTheCurrentFlagAndGivesItsSize) {
    ScreenProperties saved = testing::makeView(1);
    saved.WindowWidth = 9000;
    saved.WindowHeight = 6000;
    ScreenProperties window;
    window.CurrentFahne = 5;
    const WindowSizeTwips size = restoreViewFromSavedView(saved, window, 20);
    EXPECT_EQ(size, (WindowSizeTwips{9000, 6000}));
    EXPECT_EQ(window.CurrentFahne, 5);
    EXPECT_EQ(window.FahneAnzahl, saved.FahneAnzahl);
    EXPECT_EQ(window.BlackZ, saved.BlackZ);
}

TEST(ViewRecordCopy, SavedViewOfMorePointsFitsASmallerCloud) {
    ScreenProperties saved = testing::makeView(1, 0);
    saved.FlagOfPoint.clear();
    saved.FlagOfPoint.resize(100);
    saved.FlagOfPoint.set(3, 1);
    saved.FlagOfPoint.set(60, 2);
    saved.Lines.resize(2, 4);
    const double ends[4][2] = {{1, 2}, {2, 60}, {0, 3}, {4, 5}};  // 2-60 and 0-3 do not fit 10 rows
    for (int k = 1; k <= 4; ++k) {
        saved.Lines(1, k) = ends[k - 1][0];
        saved.Lines(2, k) = ends[k - 1][1];
    }
    saved.LineCount = 4;
    saved.LineStartPoint = 60;
    ScreenProperties window;
    restoreViewFromSavedView(saved, window, 10);
    EXPECT_EQ(window.FlagOfPoint.upper(), 10);
    EXPECT_EQ(window.FlagOfPoint[3], 1);
    EXPECT_EQ(window.FlagOfPoint[60], 0);
    ASSERT_EQ(window.LineCount, 2);
    EXPECT_EQ(window.Lines(1, 1), 1);
    EXPECT_EQ(window.Lines(2, 1), 2);
    EXPECT_EQ(window.Lines(1, 2), 4);
    EXPECT_EQ(window.Lines(2, 2), 5);
    EXPECT_EQ(window.LineStartPoint, 0);

    // A larger cloud keeps every flag and every segment between two rows, and grows the flag
    // table; a segment from row 0 is no segment in any cloud.
    ScreenProperties wide;
    restoreViewFromSavedView(saved, wide, 500);
    EXPECT_EQ(wide.FlagOfPoint.upper(), 500);
    EXPECT_EQ(wide.FlagOfPoint[60], 2);
    ASSERT_EQ(wide.LineCount, 3);
    EXPECT_EQ(wide.Lines(2, 2), 60);
    EXPECT_EQ(wide.Lines(1, 3), 4);
    EXPECT_EQ(wide.LineStartPoint, 60);
}

TEST(ViewRecordCopy, NewWindowTakesTheTwentyFourSettingsOnlyFromASetDefault) {
    ScreenProperties defaults = testing::makeView(4);
    ScreenProperties window;
    window.Massstab = 3;
    defaults.ADis = 0;  // never set: the other fields do not count
    EXPECT_FALSE(takeDefaultDisplaySettings(defaults, window));
    EXPECT_EQ(window, [] {
        ScreenProperties w;
        w.Massstab = 3;
        return w;
    }());

    defaults.ADis = 25;
    ASSERT_TRUE(takeDefaultDisplaySettings(defaults, window));
    EXPECT_EQ(window.ADis, 25);
    EXPECT_EQ(window.BigNess, defaults.BigNess);
    EXPECT_EQ(window.Vec_Massstab, defaults.Vec_Massstab);
    EXPECT_EQ(window.ColorBased, defaults.ColorBased);
    EXPECT_EQ(window.CS_Type, defaults.CS_Type);
    EXPECT_EQ(window.Min, defaults.Min);
    EXPECT_EQ(window.OuterColor, defaults.OuterColor);
    // View geometry, flags, the hiding plane and lines are the window's own.
    EXPECT_EQ(window.Massstab, 3);
    EXPECT_EQ(window.FahneAnzahl, 0);
    EXPECT_EQ(window.LineCount, 0);
    EXPECT_FALSE(window.BlackPlane);
}

TEST(ViewRecordCopy, NewFlagTakesTheLastLayoutOfTheDefaultRecord) {
    ScreenProperties defaults;
    EXPECT_FALSE(defaultFlagLayout(defaults).has_value());
    // As the settings file leaves it: elements 0 and 1, one flag.
    defaults.FahneProps.assign(2, FahneRecord{});
    defaults.FahneAnzahl = 1;
    defaults.FahneProps[1].ShowPointNumber = true;
    ASSERT_TRUE(defaultFlagLayout(defaults).has_value());
    EXPECT_TRUE(defaultFlagLayout(defaults)->ShowPointNumber);
    defaults.FahneAnzahl = 4;  // more flags than layouts: no layout to take
    EXPECT_FALSE(defaultFlagLayout(defaults).has_value());
}

}  // namespace
}  // namespace kal
