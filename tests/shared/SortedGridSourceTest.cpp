#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "shared/GridSource.h"
#include "shared/SortedGridSource.h"

namespace kal {
namespace {

// A table given as texts, row by row; column 0 and columns listed in `hidden` are hidden. Counts
// the sort keys it is asked for.
class TextTable : public GridSource {
  public:
    TextTable(std::vector<std::vector<std::string>> cells, std::vector<std::int32_t> hidden = {})
        : cells(std::move(cells)), hidden(std::move(hidden)) {}
    std::int32_t rowCount() const override { return static_cast<std::int32_t>(cells.size()); }
    std::int32_t columnCount() const override {
        return cells.empty() ? 0 : static_cast<std::int32_t>(cells[0].size());
    }
    std::string headerText(std::int32_t column) const override { return "H" + std::to_string(column); }
    std::string text(std::int32_t row, std::int32_t column) const override {
        return cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    }
    bool columnHidden(std::int32_t column) const override {
        return std::find(hidden.begin(), hidden.end(), column) != hidden.end();
    }
    SortKey sortKey(std::int32_t row, std::int32_t column) const override {
        ++keyCalls;
        return GridSource::sortKey(row, column);
    }
    std::vector<std::vector<std::string>> cells;
    std::vector<std::int32_t> hidden;
    mutable int keyCalls = 0;
};

std::vector<std::string> column(const GridSource& source, std::int32_t c) {
    std::vector<std::string> out;
    for (std::int32_t r = 0; r < source.rowCount(); ++r) out.push_back(source.text(r, c));
    return out;
}

// One column of mixed cells and a second column that tells the rows apart.
TextTable mixedTable() {
    return TextTable({{"b", "1"},
                      {"10", "2"},
                      {"-2.5", "3"},
                      {"B", "4"},
                      {"007", "5"},
                      {"", "6"},
                      {"7", "7"},
                      {"1,5", "8"},
                      {"b", "9"},
                      {" 3 ", "10"},
                      {"1e2", "11"},
                      {"7", "12"},
                      {"12abc", "13"}});
}

TEST(SortedGridSource, MixedColumnSortsNumbersByValueThenTextsByTheirBytes) {
    const TextTable table = mixedTable();
    SortedGridSource sorted(&table);
    ASSERT_TRUE(sorted.sortBy(0, SortOrder::Ascending));
    // Numbers first by value ("1,5" is 1.5, " 3 " is 3, "1e2" is 100), equal values by their text
    // ("007" before "7"), equal texts in table order (rows 7 and 12); then the texts by bytes, the
    // empty one first, capitals before small letters.
    EXPECT_EQ(column(sorted, 0), (std::vector<std::string>{"-2.5", "1,5", " 3 ", "007", "7", "7", "10", "1e2",
                                                           "", "12abc", "B", "b", "b"}));
    EXPECT_EQ(column(sorted, 1), (std::vector<std::string>{"3", "8", "10", "5", "7", "12", "2", "11", "6",
                                                           "13", "4", "1", "9"}));

    ASSERT_TRUE(sorted.sortBy(0, SortOrder::Descending));
    EXPECT_EQ(column(sorted, 0), (std::vector<std::string>{"b", "b", "B", "12abc", "", "1e2", "10", "7", "7",
                                                           "007", " 3 ", "1,5", "-2.5"}));
    // Stable both ways: the two "b" rows and the two "7" rows stay in table order.
    EXPECT_EQ(column(sorted, 1), (std::vector<std::string>{"1", "9", "4", "13", "6", "11", "2", "7", "12",
                                                           "5", "10", "8", "3"}));
}

TEST(SortKey, ReadsAsANumberOnlyAWholeNumericText) {
    struct Case {
        const char* text;
        bool isNumber;
        double value;
    } cases[] = {
        {"0", true, 0},        {"-0.0004", true, -0.0004},
        {"+3", true, 3},       {"1,25", true, 1.25},
        {" 2.5\t", true, 2.5}, {".5", true, 0.5},
        {"5.", true, 5},       {"1E-09", true, 1e-9},
        {"2e+3", true, 2000},  {"", false, 0},
        {" ", false, 0},       {"-", false, 0},
        {".", false, 0},       {"1.2.3", false, 0},
        {"1e", false, 0},      {"12abc", false, 0},
        {"inf", false, 0},     {"nan", false, 0},
        {"0x10", false, 0},    {"1 000", false, 0},
        {"1e999", false, 0},   {"P7", false, 0},
    };
    for (const auto& c : cases) {
        const SortKey key = SortKey::ofCellText(c.text);
        EXPECT_EQ(key.isNumber, c.isNumber) << '"' << c.text << '"';
        if (c.isNumber) {
            EXPECT_DOUBLE_EQ(key.number, c.value) << '"' << c.text << '"';
        }
        EXPECT_EQ(key.text, c.text);
    }
}

TEST(SortKey, ComparesNumbersBeforeTextsAndTiesOnTheText) {
    struct Case {
        SortKey a, b;
        int expected;
    } cases[] = {
        {SortKey::ofNumber(1e9), SortKey::ofText(""), -1},
        {SortKey::ofNumber(-1), SortKey::ofNumber(2), -1},
        {SortKey::ofNumber(7, "007"), SortKey::ofNumber(7, "7"), -1},
        {SortKey::ofNumber(0.0, "0"), SortKey::ofNumber(-0.0, "0"), 0},
        {SortKey::ofText("B"), SortKey::ofText("a"), -1},
        {SortKey::ofText("a"), SortKey::ofText("a"), 0},
        {SortKey::ofText("\xc3\xa9"), SortKey::ofText("z"), 1},  // UTF-8 bytes above ASCII
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compareSortKeys(c.a, c.b), c.expected) << c.a.text << " vs " << c.b.text;
        EXPECT_EQ(compareSortKeys(c.b, c.a), -c.expected) << c.b.text << " vs " << c.a.text;
    }
}

TEST(SortedGridSource, HiddenColumnsAreNeverSortColumns) {
    const TextTable table({{"x", "2", "b"}, {"y", "1", "a"}}, {0, 2});
    SortedGridSource sorted(&table);
    EXPECT_FALSE(sorted.sortBy(0, SortOrder::Ascending));
    EXPECT_FALSE(sorted.sortBy(2, SortOrder::Descending));
    EXPECT_FALSE(sorted.sortBy(3, SortOrder::Ascending));
    EXPECT_EQ(sorted.sortOrder(), SortOrder::None);
    EXPECT_EQ(table.keyCalls, 0);
    EXPECT_EQ(column(sorted, 1), (std::vector<std::string>{"2", "1"}));

    ASSERT_TRUE(sorted.sortBy(1, SortOrder::Ascending));
    EXPECT_EQ(column(sorted, 1), (std::vector<std::string>{"1", "2"}));
    EXPECT_TRUE(sorted.columnHidden(0));
    EXPECT_EQ(sorted.copyText({0, 0, 1, 2}), "1\r\n2");  // the hidden columns stay out of copies
}

TEST(SortedGridSource, KeysAreReadOncePerRowAndSort) {
    TextTable table({{"3"}, {"1"}, {"2"}, {"1"}});
    SortedGridSource sorted(&table);
    ASSERT_TRUE(sorted.sortBy(0, SortOrder::Ascending));
    EXPECT_EQ(table.keyCalls, 4);
    EXPECT_EQ(column(sorted, 0), (std::vector<std::string>{"1", "1", "2", "3"}));
    EXPECT_EQ(table.keyCalls, 4) << "reading cells must not read keys";
}

TEST(SortedGridSource, MapsRowsBothWaysAndKeepsItsOrderAcrossAResort) {
    TextTable table({{"c"}, {"a"}, {"b"}});
    SortedGridSource sorted(&table);
    EXPECT_EQ(sorted.baseRow(2), 2);  // unsorted: the base's rows
    EXPECT_EQ(sorted.rowOfBaseRow(1), 1);
    ASSERT_TRUE(sorted.sortBy(0, SortOrder::Descending));
    EXPECT_EQ(column(sorted, 0), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(sorted.baseRow(1), 2);
    EXPECT_EQ(sorted.rowOfBaseRow(1), 2);
    EXPECT_EQ(sorted.baseRow(3), -1);
    EXPECT_EQ(sorted.rowOfBaseRow(3), -1);

    // The base gains a row: counts and order follow only on resort(), and then keep the order.
    table.cells.push_back({"d"});
    EXPECT_EQ(sorted.rowCount(), 3);
    sorted.resort();
    EXPECT_EQ(column(sorted, 0), (std::vector<std::string>{"d", "c", "b", "a"}));
    EXPECT_EQ(sorted.sortColumn(), 0);

    // The base loses rows before the resort: rows it no longer has read as empty, never out of range.
    table.cells.resize(1);
    EXPECT_EQ(sorted.text(0, 0), "");
    sorted.resort();
    EXPECT_EQ(column(sorted, 0), (std::vector<std::string>{"c"}));

    ASSERT_TRUE(sorted.sortBy(0, SortOrder::None));
    EXPECT_EQ(sorted.sortColumn(), -1);
}

// A source whose value column holds a value that is not finite: it sorts among the texts, and the
// order stays a strict one (no comparison with NaN decides anything).
class ValueTable : public TextTable {
  public:
    ValueTable() : TextTable({{"2"}, {"?"}, {"1"}, {"x"}}) {}
    SortKey sortKey(std::int32_t row, std::int32_t column) const override {
        if (row == 1) return SortKey::ofNumber(std::nan(""), "?");
        return TextTable::sortKey(row, column);
    }
};

TEST(SortedGridSource, AValueThatIsNotFiniteSortsAsItsText) {
    const ValueTable table;
    SortedGridSource sorted(&table);
    ASSERT_TRUE(sorted.sortBy(0, SortOrder::Ascending));
    EXPECT_EQ(column(sorted, 0), (std::vector<std::string>{"1", "2", "?", "x"}));
}

// The row of a column's longest text, as the base knows it, is found in the sorted order too.
class LongestInColumnZero : public TextTable {
  public:
    using TextTable::TextTable;
    std::int32_t longestTextRow(std::int32_t column) const override { return column == 0 ? 1 : -1; }
};

TEST(SortedGridSource, TheLongestTextRowFollowsTheSort) {
    const LongestInColumnZero base({{"P2", "2"}, {"P100000", "3"}, {"P1", "1"}});
    SortedGridSource sorted(&base);
    EXPECT_EQ(sorted.longestTextRow(0), 1);
    ASSERT_TRUE(sorted.sortBy(1, SortOrder::Descending));
    EXPECT_EQ(sorted.text(sorted.longestTextRow(0), 0), "P100000");
    EXPECT_EQ(sorted.longestTextRow(0), 0);
    EXPECT_EQ(sorted.longestTextRow(1), -1);  // the base does not know it
}

TEST(GridSource, CopyTextWithEndsEndsEveryCellAndRow) {
    const TextTable table({{"h", "a", "b", "x"}, {"h", "c", "d", "x"}}, {0, 3});
    EXPECT_EQ(table.copyText({0, 0, 1, 3}), "a\tb\r\nc\td");
    EXPECT_EQ(table.copyTextWithEnds({0, 0, 1, 3}), "a\tb\t\r\nc\td\t\r\n");
    EXPECT_EQ(table.copyTextWithEnds({1, 1, 1, 1}), "c\t\r\n");
    EXPECT_EQ(table.copyTextWithEnds({0, 3, 1, 3}), "");  // hidden columns only
    EXPECT_EQ(table.copyTextWithEnds({}), "");
}

}  // namespace
}  // namespace kal
