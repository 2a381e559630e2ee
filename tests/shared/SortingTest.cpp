#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "shared/Sorting.h"

namespace kal {
namespace {

using Names = std::vector<std::string>;
using Index = std::vector<std::int32_t>;

TEST(SortNames, NumericNamesByValueBetweenLowerAndHigherCharacters) {
    Names names{"", "10", "9", "A1", "100", "-5"};
    Index index;
    sortNames(names, index);
    EXPECT_EQ(names, (Names{"", "-5", "9", "10", "100", "A1"}));
    EXPECT_EQ(index, (Index{0, 5, 2, 1, 4, 3}));
}

TEST(SortNames, CharacterCodesDecideAmongTextNames) {
    Names names{"", "b", "B", "12a", "a", "99999"};
    Index index;
    sortNames(names, index);
    // Padded numbers start with "0", which sorts below every letter; "12a" is not numeric.
    EXPECT_EQ(names, (Names{"", "99999", "12a", "B", "a", "b"}));
}

TEST(SortNames, NamesEqualAfterPaddingStayDistinctAndEqualNamesEndSideBySide) {
    // Matching by name merges both lists: the two "7" must meet, "007" and "07" stay apart.
    Names names{"", "7", "007", "3", "7", "07", "5"};
    Index index;
    sortNames(names, index);
    EXPECT_EQ(names, (Names{"", "3", "5", "007", "07", "7", "7"}));
    EXPECT_EQ(index, (Index{0, 3, 6, 2, 5, 1, 4}));  // equal names keep their order
}

TEST(SortNames, EmptyListAndLongDigitStrings) {
    Names none{""};
    Index index{7, 7};
    sortNames(none, index);
    EXPECT_EQ(index, (Index{0}));

    const std::string longDigits(60, '1');  // 50 digits or more are not padded
    Names names{"", longDigits, "2"};
    sortNames(names, index);
    EXPECT_EQ(names, (Names{"", "2", longDigits}));
}

// The keyed comparison must order exactly as the names left-padded with "0" to 50 characters,
// compared byte by byte, with the text and then the position breaking ties.
TEST(SortNames, OrderEqualsThePaddedTextComparisonOnRandomAwkwardNames) {
    std::mt19937 random(5);
    const std::string alphabet =
        std::string("0123456789") + "0000" + "-+ /Aa" + "\x01\xff" + std::string(1, '\0');
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    for (int round = 0; round < 200; ++round) {
        Names names{""};
        for (int i = 0; i < 40; ++i) {
            std::string name;
            const std::size_t length = pick(4) == 0 ? 45 + pick(10) : pick(6);
            const bool digits = pick(2) == 0;
            for (std::size_t c = 0; c < length; ++c)
                name += digits ? static_cast<char>('0' + pick(pick(3) == 0 ? 1 : 10))
                               : alphabet[pick(alphabet.size())];
            names.push_back(name);
        }
        auto padded = [](const std::string& s) {
            return isNumericName(s) && s.size() < 50 ? std::string(50 - s.size(), '0') + s : s;
        };
        std::vector<std::int32_t> expected(names.size() - 1);
        for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<std::int32_t>(i + 1);
        std::sort(expected.begin(), expected.end(), [&](std::int32_t a, std::int32_t b) {
            const std::string& x = names[static_cast<std::size_t>(a)];
            const std::string& y = names[static_cast<std::size_t>(b)];
            if (padded(x) != padded(y)) return padded(x) < padded(y);
            if (x != y) return x < y;
            return a < b;
        });
        Names sorted = names;
        Index index;
        sortNames(sorted, index);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            ASSERT_EQ(index[i + 1], expected[i]) << "round " << round << ", position " << i + 1;
            ASSERT_EQ(sorted[i + 1], names[static_cast<std::size_t>(expected[i])]);
        }
        // The pairwise order the matching walks by is the sort's: before the next name, never
        // after it, and equal texts neither.
        for (std::size_t i = 1; i + 1 < sorted.size(); ++i) {
            ASSERT_EQ(nameSortsBefore(sorted[i], sorted[i + 1]), sorted[i] != sorted[i + 1])
                << round << " " << i;
            ASSERT_FALSE(nameSortsBefore(sorted[i + 1], sorted[i])) << round << " " << i;
        }
    }
}

TEST(IsNumericName, DigitsOnly) {
    EXPECT_TRUE(isNumericName("0123"));
    EXPECT_TRUE(isNumericName(""));
    EXPECT_FALSE(isNumericName("-5"));
    EXPECT_FALSE(isNumericName("1.5"));
    EXPECT_FALSE(isNumericName("12a"));
}

TEST(QuickSortNames, SortsARangeEitherWayMovingTheIndexAlong) {
    Names names{"zero", "d", "b", "a", "c", "e"};
    Index index{0, 1, 2, 3, 4, 5};
    quickSortNames(names, index, 2, 5, false);
    EXPECT_EQ(names, (Names{"zero", "d", "a", "b", "c", "e"}));
    EXPECT_EQ(index, (Index{0, 1, 3, 2, 4, 5}));
    quickSortNames(names, index, 1, 5, true);
    EXPECT_EQ(names, (Names{"zero", "e", "d", "c", "b", "a"}));
    EXPECT_EQ(index, (Index{0, 5, 1, 4, 2, 3}));
}

Matrix table(const std::vector<std::vector<double>>& rows) {
    Matrix m(static_cast<std::int32_t>(rows.size()), static_cast<std::int32_t>(rows[0].size()));
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (std::size_t j = 0; j < rows[i].size(); ++j)
            m(static_cast<std::int32_t>(i + 1), static_cast<std::int32_t>(j + 1)) = rows[i][j];
    return m;
}

std::vector<double> column(const Matrix& m, std::int32_t c) {
    std::vector<double> v;
    for (std::int32_t i = 1; i <= m.rows(); ++i) v.push_back(m(i, c));
    return v;
}

TEST(SortRowsByKeys, EachKeyOrdersOnlyWithinGroupsOfTheEarlierKeys) {
    // Columns 1..5; column 1 names the row; keys 4, 3, 5 as the inverse solution table uses them.
    Matrix t = table({{1, 0, 2, 1, 9},
                      {2, 0, 1, 0, 5},
                      {3, 0, 2, 1, 3},
                      {4, 0, 1, 1, 7},
                      {5, 0, 3, 0, 1},
                      {6, 0, 1, 0, 4}});
    const Matrix before = t;
    sortRowsByKeys({4, 3, 5}, t);
    EXPECT_EQ(column(t, 1), (std::vector<double>{6, 2, 5, 4, 3, 1}));
    EXPECT_EQ(t(1, 5), 4.0);  // rows move whole

    Matrix descending = before;
    sortRowsByKeys({0, -3, 0, 5}, descending);  // a 1-based key list; 0 entries are skipped
    EXPECT_EQ(column(descending, 1), (std::vector<double>{5, 3, 1, 6, 2, 4}));

    Matrix unchanged = before;
    sortRowsByKeys({0}, unchanged);
    EXPECT_EQ(unchanged, before);
}

TEST(SortRowsByKeys, OrderOfRowsEqualInEveryKeyFollowsThePartitionSteps) {
    // All keys equal: the scans stop on every row and equal rows are never exchanged.
    Matrix t = table({{1, 5}, {2, 5}, {3, 5}, {4, 5}});
    sortRowsByKeys({2}, t);
    EXPECT_EQ(column(t, 1), (std::vector<double>{1, 2, 3, 4}));

    // Pivot row (1 + 5) \ 2 = 3: the ends (both 2) stay, rows 3 and 4 swap, then rows 1 and 3.
    Matrix u = table({{1, 2}, {2, 1}, {3, 2}, {4, 1}, {5, 2}});
    quickSortRows(1, 5, 2, true, u);
    EXPECT_EQ(column(u, 2), (std::vector<double>{1, 1, 2, 2, 2}));
    EXPECT_EQ(column(u, 1), (std::vector<double>{4, 2, 1, 3, 5}));
}

TEST(SortRowsByKeys, OneRowAndBadColumns) {
    Matrix one = table({{3, 1}});
    sortRowsByKeys({1, -2}, one);
    EXPECT_EQ(one, table({{3, 1}}));
    Matrix t = table({{1}, {2}});
    EXPECT_THROW(sortRowsByKeys({2}, t), std::out_of_range);
}

}  // namespace
}  // namespace kal
