#include <gtest/gtest.h>

#include <algorithm>

#include "calculation/CalculationWindowLayout.h"

namespace kal {
namespace {

TEST(CalculationWindowLayout, RightColumnFollowsTheWidthUntilTheTableIsAtItsMinimum) {
    struct Case {
        double width, table, frames, buttons;
    };
    const Case cases[] = {
        {17610, 7795, 15845, 16077.5},  // the design width
        {10000, 540, 8580, 8580},       // 8040 + 540 lies right of 8235: all at the table's edge
        {9835, 540, 8580, 8580},        // the table would be just 20 wide
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        const CalculationWindowColumns r = layoutForWidth(c.width);
        EXPECT_EQ(r.tableWidth, c.table);
        EXPECT_EQ(r.normLeft, c.frames);
        EXPECT_EQ(r.standardsLeft, c.frames);
        EXPECT_EQ(r.controlLeft, c.frames);
        EXPECT_EQ(r.buttonsLeft, c.buttons);
    }
}

// At its minimum width the window cuts nothing: the right column lies inside, and the two buttons
// under it stand right of the "Statistics" frame, which gives up only room its boxes do not need
// (at the table-based minimum of 10345 twips the buttons were drawn over its max/min deviation
// boxes).
TEST(CalculationWindowLayout, AtItsMinimumWidthTheButtonsClearTheStatisticsFrame) {
    const CalculationWindowDesign d;
    const double left = 120, design = 15240;  // the frame's design place and width
    for (double needed : {0.0, 9000.0, 13900.0, design, 20000.0}) {
        SCOPED_TRACE(needed);
        const double least = minimumClientWidth(d, needed);
        const CalculationWindowColumns at = layoutForWidth(least, d, needed);
        EXPECT_GE(at.statisticsWidth, std::min(needed, design));
        EXPECT_LE(at.statisticsWidth, design);
        EXPECT_GT(at.buttonsLeft, left + at.statisticsWidth);
        EXPECT_LE(at.buttonsLeft + d.buttonWidth, least);
        for (double frameLeft : {at.normLeft, at.standardsLeft, at.controlLeft})
            EXPECT_LE(frameLeft + 1755, least);
        EXPECT_GE(at.tableWidth, kMinTableWidth);
        // Any narrower and the buttons touch the frame or the right column leaves the window.
        const CalculationWindowColumns narrower = layoutForWidth(least - 150, d, needed);
        EXPECT_TRUE(narrower.buttonsLeft <= left + narrower.statisticsWidth ||
                    narrower.controlLeft + 1755 > least - 150);
    }
    // The design width keeps the frame's design width.
    EXPECT_EQ(layoutForWidth(17610, d, 13900).statisticsWidth, design);
    EXPECT_LE(minimumClientWidth(d, design), 17610);
}

TEST(CalculationWindowLayout, WideWindowsAreNotLimitedToSixteenBits) {
    const CalculationWindowColumns r = layoutForWidth(60000);
    EXPECT_EQ(r.tableWidth, 60000 - 8040 - 1755 - 20);
    EXPECT_EQ(r.normLeft, 60000 - 1765);
}

TEST(CalculationWindowLayout, ColumnWidthFromItsSettingText) {
    struct Case {
        const char* text;
        int width;
    };
    const Case cases[] = {
        {"1000", 1000},  // what a missing key reads as
        {"1234.6", 1235}, {"1234.4", 1234}, {" 800", 800}, {"abc", 900},   {"0", 900},
        {"", 900},        {"-500", 900},    {"0.4", 900},  {"1e999", 900}, {"99999999", 900},
    };
    for (const Case& c : cases) EXPECT_EQ(columnWidthFromSetting(c.text), c.width) << '"' << c.text << '"';
}

}  // namespace
}  // namespace kal
