#include <gtest/gtest.h>

#include <vector>

#include "results/MainSheetWindowModel.h"
#include "support/TempDir.h"

namespace kal {
namespace {

// A 3 × 4 table: row r, column c holds "r.c"; titles "T0".."T3".
class SmallTable : public GridSource {
  public:
    std::int32_t rowCount() const override { return 3; }
    std::int32_t columnCount() const override { return 4; }
    std::string headerText(std::int32_t column) const override { return "T" + std::to_string(column); }
    std::string text(std::int32_t row, std::int32_t column) const override {
        if (column == 0) return names[static_cast<std::size_t>(row)];
        return std::to_string(row) + "." + std::to_string(column);
    }
    std::vector<std::string> names{"12abc", "P1", " -3.5e1x"};
};

TEST(MainSheetWindowModel, TheSameTitleClickedThreeTimesSortsAscendingDescendingAscending) {
    MainSheetWindowModel model;
    EXPECT_EQ(model.sortOrder(), SheetSortOrder::None);
    EXPECT_EQ(model.headerClicked(4), SheetSortOrder::Ascending);
    EXPECT_EQ(model.headerClicked(4), SheetSortOrder::Descending);
    EXPECT_EQ(model.headerClicked(4), SheetSortOrder::Ascending);
    EXPECT_EQ(model.headerClicked(7), SheetSortOrder::Ascending);  // another title
    EXPECT_EQ(model.sortColumn(), 7);
}

TEST(MainSheetWindowModel, FirstClickOnTheColumnOfTheCellJustLeftSortsAscending) {
    MainSheetWindowModel model;
    model.leaveCell({3, 0});  // the cell left was in column 0, which has never been sorted
    EXPECT_EQ(model.headerClicked(0), SheetSortOrder::Ascending);
}

TEST(MainSheetWindowModel, RowChangeRestoresTheRowLeftHighlightsTheRowEnteredAndShowsTheRowLeft) {
    MainSheetWindowModel model;
    model.leaveCell({2, 1});
    model.enterCell({5, 3});
    auto change = model.rowChange();
    ASSERT_TRUE(change);
    EXPECT_EQ(change->restoreRow, 2);
    EXPECT_EQ(change->highlightRow, 5);
    EXPECT_EQ(change->panelText, "2");
    EXPECT_EQ(change->current, (SheetCell{5, 3}));

    // While the window moves the cell itself, nothing is recorded and nothing happens.
    model.setCellEventsOn(false);
    model.leaveCell({5, 3});
    model.enterCell({9, 9});
    EXPECT_FALSE(model.rowChange());
    model.setCellEventsOn(true);
    EXPECT_EQ(model.entered(), (SheetCell{5, 3}));
    EXPECT_EQ(model.last(), (SheetCell{2, 1}));
}

TEST(MainSheetWindowModel, CtrlCWithTitlesOverColumnsOneToThreeAndTwoRows) {
    SmallTable table;
    const SheetSelection selection{{1, 1}, {2, 3}};
    EXPECT_EQ(sheetCopyText(table, selection, true), "T1\tT2\tT3\t\r\n0.1\t0.2\t0.3\r\n1.1\t1.2\t1.3");
    EXPECT_EQ(sheetCopyText(table, selection, false), "0.1\t0.2\t0.3\r\n1.1\t1.2\t1.3");
}

TEST(MainSheetWindowModel, RightButtonTextEndsEveryCellWithTabAndEveryRowWithCrLf) {
    SmallTable table;
    const SheetSelection selection{{1, 1}, {2, 3}};
    EXPECT_EQ(sheetRowsText(table, selection, false), "0.1\t0.2\t0.3\t\r\n1.1\t1.2\t1.3\t\r\n");
    EXPECT_EQ(sheetRowsText(table, selection, true),
              "T1\tT2\tT3\t\r\n0.1\t0.2\t0.3\t\r\n1.1\t1.2\t1.3\t\r\n");
}

TEST(MainSheetWindowModel, SelectionsDraggedUpOrLeftCopyTheSameBlock) {
    // Walked from the anchor only, such a selection would give an empty title line and no rows.
    SmallTable table;
    const SheetSelection down{{1, 1}, {2, 3}}, up{{2, 3}, {1, 1}}, mixed{{2, 1}, {1, 3}};
    for (const SheetSelection& s : {up, mixed}) {
        EXPECT_EQ(sheetCopyText(table, s, true), sheetCopyText(table, down, true));
        EXPECT_EQ(sheetRowsText(table, s, true), sheetRowsText(table, down, true));
    }
    EXPECT_EQ(sheetSelectionValues(table, {}, SheetSelection{{3, 0}, {1, 0}}).size(), 3u);
}

TEST(MainSheetWindowModel, SelectionValuesOfNamesAreTheirLeadingNumbersOthersTheModelsValues) {
    SmallTable table;
    EXPECT_EQ(sheetSelectionValues(table, {}, SheetSelection{{1, 0}, {3, 0}}),
              (std::vector<double>{12, 0, -35}));
    // Values come from the model, not from re-reading the texts (a "," separator or a
    // degrees-minutes-seconds text would read wrongly); an empty cell counts 0.
    SheetValueOf value = [](std::int32_t row, std::int32_t column) -> std::optional<double> {
        if (row == 1) return std::nullopt;
        return 100.0 * row + column;
    };
    EXPECT_EQ(sheetSelectionValues(table, value, SheetSelection{{3, 2}, {1, 3}}),
              (std::vector<double>{2, 0, 202}));
}

TEST(MainSheetWindowModel, GridFollowsTheWindowAboveItsSmallestSize) {
    struct Case {
        double w, h;
        bool resized;
        double gw, gh;
    } cases[] = {{13470, 9570, true, 13260, 9110},
                 {110, 9570, false, 0, 0},
                 {111, 9570, true, -99, 9110},
                 {5000, 420, false, 0, 0},
                 {5000, 421, true, 4790, -39}};
    for (const Case& c : cases) {
        auto size = sheetGridSizeFor(c.w, c.h);
        ASSERT_EQ(size.has_value(), c.resized) << c.w << " " << c.h;
        if (size) {
            EXPECT_EQ(size->width, c.gw);
            EXPECT_EQ(size->height, c.gh);
        }
    }
}

TEST(MainSheetWindowModel, ColumnWidthsFromTheSettingsFile) {
    testing::TempDir dir;
    const std::string ini =
        dir.write("k.ini",
                  "[Cols]\r\nCol_0=1234.5\r\nCol_1=0\r\nCol_2=abc\r\nCol_3=-5\r\nCol_4=1235.5\r\n"
                  "Col_6=99999999\r\nCol_7=1000\r\n\r\n[LastEntry]\r\n");
    const auto widths = readSheetColumnWidths(ini);
    EXPECT_EQ(widths[0], 1234);  // halves to even
    EXPECT_EQ(widths[1], 900);
    EXPECT_EQ(widths[2], 900);
    EXPECT_EQ(widths[3], 900);  // a negative width is no width
    EXPECT_EQ(widths[4], 1236);
    EXPECT_EQ(widths[5], std::nullopt);  // never stored: the column fits its contents
    EXPECT_EQ(widths[6], 900);
    EXPECT_EQ(widths[7], 1000);  // stored, though it is the value a missing key used to read as
    EXPECT_EQ(widths[22], std::nullopt);
    EXPECT_EQ(readSheetColumnWidths(dir.path() + "/none.ini")[0], std::nullopt);  // no settings file
}

TEST(MainSheetWindowModel, CaptionNamesTheOcs) {
    EXPECT_EQ(mainSheetCaption("Robot"), "Main Sheet - Data in Robot - OCS System");
}

}  // namespace
}  // namespace kal
