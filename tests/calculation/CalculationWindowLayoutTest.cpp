#include <gtest/gtest.h>

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
// under it stand right of the "Statistics" frame (at the table-based minimum of 10345 twips they
// were drawn over its max/min deviation boxes).
TEST(CalculationWindowLayout, AtItsMinimumWidthTheButtonsClearTheStatisticsFrame) {
    const CalculationWindowDesign d;
    const double statisticsRight = 120 + 15240;  // the frame's design place and width
    const double least = minimumClientWidth();
    const CalculationWindowColumns at = layoutForWidth(least);
    EXPECT_GT(at.buttonsLeft, statisticsRight);
    EXPECT_LE(at.buttonsLeft + d.buttonWidth, least);
    for (double left : {at.normLeft, at.standardsLeft, at.controlLeft}) EXPECT_LE(left + 1755, least);
    EXPECT_GE(at.tableWidth, kMinTableWidth);
    // The minimum is no wider than it must be: a little less and the buttons touch the frame.
    EXPECT_LT(layoutForWidth(least - 150).buttonsLeft, statisticsRight);
    EXPECT_LE(least, 17610);  // the design width itself is usable
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
