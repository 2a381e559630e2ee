#include <gtest/gtest.h>

#include <set>
#include <string>

#include "shared/GridSource.h"

namespace kal {
namespace {

// Three rows by four columns; cell (r, c) reads "r.c". Column 2 is hidden when asked.
class SmallTable : public GridSource {
  public:
    explicit SmallTable(std::set<std::int32_t> hidden = {}) : hidden_(std::move(hidden)) {}
    std::int32_t rowCount() const override { return 3; }
    std::int32_t columnCount() const override { return 4; }
    std::string headerText(std::int32_t column) const override { return "H" + std::to_string(column); }
    std::string text(std::int32_t row, std::int32_t column) const override {
        ++calls;
        return std::to_string(row) + "." + std::to_string(column);
    }
    bool columnHidden(std::int32_t column) const override { return hidden_.contains(column); }
    mutable int calls = 0;

  private:
    std::set<std::int32_t> hidden_;
};

TEST(GridSource, CopyTextSeparatesCellsByTabAndRowsByCrLf) {
    struct Case {
        const char* what;
        GridRange range;
        std::set<std::int32_t> hidden;
        const char* text;
    } cases[] = {
        {"single cell", {1, 2, 1, 2}, {}, "1.2"},
        {"one row", {0, 1, 0, 3}, {}, "0.1\t0.2\t0.3"},
        {"one column", {0, 3, 2, 3}, {}, "0.3\r\n1.3\r\n2.3"},
        {"block", {1, 0, 2, 1}, {}, "1.0\t1.1\r\n2.0\t2.1"},
        {"whole table", {0, 0, 2, 3}, {}, "0.0\t0.1\t0.2\t0.3\r\n1.0\t1.1\t1.2\t1.3\r\n2.0\t2.1\t2.2\t2.3"},
        {"clipped to the table", {-5, 2, 99, 99}, {}, "0.2\t0.3\r\n1.2\t1.3\r\n2.2\t2.3"},
        {"hidden column skipped", {0, 1, 1, 3}, {2}, "0.1\t0.3\r\n1.1\t1.3"},
        {"only hidden columns", {0, 2, 2, 2}, {2}, ""},
        {"empty range", {}, {}, ""},
        {"rows reversed", {2, 0, 1, 0}, {}, ""},
        {"outside the table", {3, 0, 5, 3}, {}, ""},
    };
    for (const auto& c : cases) {
        const SmallTable table(c.hidden);
        EXPECT_EQ(table.copyText(c.range), c.text) << c.what;
    }
}

TEST(GridSource, CopyAsksOnlyForTheCellsItCopies) {
    const SmallTable table({2});
    table.copyText({0, 0, 2, 3});
    EXPECT_EQ(table.calls, 9);  // 3 rows by the 3 shown columns; the hidden column is never computed
}

}  // namespace
}  // namespace kal
