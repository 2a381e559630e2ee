#include <gtest/gtest.h>

#include <QApplication>
#include <QBrush>
#include <QClipboard>
#include <QFont>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <set>
#include <string>
#include <vector>

#include "shared/GridSource.h"
#include "shared/ui/DataGrid.h"
#include "shared/ui/GridColumnWidths.h"
#include "shared/ui/GridModel.h"
#include "support/ui/GridFit.h"

namespace kal {
namespace {

// A table of any size whose cell (r, c) reads "r.c", counting what the grid asks of it.
class CountingSource : public GridSource {
  public:
    CountingSource(std::int32_t rows, std::int32_t columns) : rows(rows), columns(columns) {}
    std::int32_t rowCount() const override { return rows; }
    std::int32_t columnCount() const override { return columns; }
    std::string headerText(std::int32_t column) const override { return "H" + std::to_string(column); }
    std::string text(std::int32_t row, std::int32_t column) const override {
        ++textCalls;
        return std::to_string(row) + "." + std::to_string(column);
    }
    CellStyle style(std::int32_t row, std::int32_t column) const override {
        ++styleCalls;
        if (row == 0 && column == 1) return {CellAlignment::Right, true, Rgb{255, 0, 0}, std::nullopt};
        if (row == 1 && column == 1) return {CellAlignment::Center, false, std::nullopt, Rgb{0, 200, 0}};
        return {};
    }
    bool columnHidden(std::int32_t column) const override { return hidden.contains(column); }

    std::int32_t rows, columns;
    std::set<std::int32_t> hidden;
    mutable long textCalls = 0, styleCalls = 0;
};

constexpr std::int32_t kMillion = 1'000'000;

TEST(DataGrid, AMillionRowGridAsksOnlyForTheCellsOnScreen) {
    CountingSource source(kMillion, 8);
    GridModel model(&source);
    EXPECT_EQ(model.rowCount(), kMillion);
    EXPECT_EQ(model.columnCount(), 8);
    EXPECT_EQ(source.textCalls, 0);

    DataGrid grid;
    grid.setSource(&source);
    grid.resize(600, 400);
    grid.show();
    grid.scrollTo(grid.model()->index(kMillion / 2, 0));
    ASSERT_FALSE(grid.grab().isNull());
    EXPECT_GT(source.textCalls, 0);
    EXPECT_LT(source.textCalls, 2000) << "cells read outside the visible rows";
    EXPECT_EQ(grid.rowHeight(kMillion - 1), grid.fixedRowHeight());
}

TEST(DataGrid, RowsHaveOneFixedHeightAndTextsOneLine) {
    CountingSource source(1000, 3);
    DataGrid grid;
    grid.setSource(&source);
    EXPECT_FALSE(grid.wordWrap());
    EXPECT_EQ(grid.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    for (int column = 0; column < 3; ++column)
        EXPECT_NE(grid.horizontalHeader()->sectionResizeMode(column), QHeaderView::ResizeToContents);
    grid.setFixedRowHeight(30);
    EXPECT_EQ(grid.rowHeight(0), 30);
    EXPECT_EQ(grid.rowHeight(999), 30);
    source.rows = 2000;
    grid.gridModel().refresh();  // new rows get the same height
    EXPECT_EQ(grid.rowHeight(1999), 30);
}

// One column: a title and texts, the row `boldRow` bold.
class TextsSource : public GridSource {
  public:
    TextsSource(std::string title, std::vector<std::string> texts, int boldRow = -1)
        : title_(std::move(title)), texts_(std::move(texts)), boldRow_(boldRow) {}
    std::int32_t rowCount() const override { return static_cast<std::int32_t>(texts_.size()); }
    std::int32_t columnCount() const override { return 1; }
    std::string headerText(std::int32_t) const override { return title_; }
    std::string text(std::int32_t row, std::int32_t) const override {
        return texts_[static_cast<std::size_t>(row)];
    }
    CellStyle style(std::int32_t row, std::int32_t) const override {
        CellStyle s;
        s.bold = row == boldRow_;
        s.alignment = CellAlignment::Right;
        return s;
    }

  private:
    std::string title_;
    std::vector<std::string> texts_;
    int boldRow_;
};

TEST(DataGrid, AFittedColumnShowsItsTitleAndEveryTextUncut) {
    struct Case {
        const char* what;
        TextsSource source;
    };
    const Case cases[] = {
        {"a long title", TextsSource("Schnitt Abs(delta s)", {"1.000", "-2.000"})},
        {"a long number among short ones", TextsSource("dev.x", {"0.001", "-399512.123", "7.000"})},
        {"the longest text bold", TextsSource("x", {"-1234567.891", "-1234567.891"}, 1)},
        {"no rows", TextsSource("min Scale", {})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DataGrid grid;
        grid.setFont(QFont("Courier", 10));
        grid.setSource(&c.source);
        grid.setColumnWidth(0, 20);
        EXPECT_FALSE(testing::cutCellTexts(grid).empty() && testing::cutTitles(grid).empty())
            << "the case cuts nothing at 20 pixels";
        grid.setColumnWidth(0, grid.fittedColumnWidth(0));
        EXPECT_EQ(testing::cutCellTexts(grid), std::vector<std::string>{});
        EXPECT_EQ(testing::cutTitles(grid), std::vector<std::string>{});
    }
}

// A million rows: the fit reads a bounded number of cells and still finds the long texts.
TEST(DataGrid, FittingAColumnOfAMillionRowsReadsABoundedSample) {
    CountingSource source(kMillion, 2);
    DataGrid grid;
    grid.setSource(&source);
    source.textCalls = 0;
    const int width = grid.fittedColumnWidth(1);
    EXPECT_LE(source.textCalls, DataGrid::kFittedRows);
    EXPECT_GE(width, grid.fontMetrics().horizontalAdvance(QString::number(kMillion - 1) + ".1"));
}

// A long table whose widest text is its last row (where an ascending sort puts the largest
// number): every other row reads "1".
class LastRowLongestSource : public GridSource {
  public:
    explicit LastRowLongestSource(std::int32_t rows) : rows_(rows) {}
    std::int32_t rowCount() const override { return rows_; }
    std::int32_t columnCount() const override { return 1; }
    std::string headerText(std::int32_t) const override { return "x"; }
    std::string text(std::int32_t row, std::int32_t) const override {
        return row == rows_ - 1 ? "-1234567.891" : "1";
    }

  private:
    std::int32_t rows_;
};

// The fit of a table over kFittedRows rows reads a sample of evenly spread rows; the sample must
// end on the last row, or the widest text of a sorted column is cut.
TEST(DataGrid, AFittedColumnOfALongTableMeasuresItsLastRow) {
    for (const std::int32_t rows : {DataGrid::kFittedRows + 1, 2999, 4001, 123457}) {
        SCOPED_TRACE(rows);
        LastRowLongestSource source(rows);
        DataGrid grid;
        grid.setFont(QFont("Courier", 10));
        grid.setSource(&source);
        grid.setColumnWidth(0, 20);
        ASSERT_TRUE(testing::cellTextCut(grid, rows - 1, 0));
        GridColumnWidths widths(grid, 0, 0);  // as the table windows fit their columns
        widths.apply();
        EXPECT_FALSE(testing::cellTextCut(grid, rows - 1, 0)) << "width " << grid.columnWidth(0);
    }
}

TEST(GridModel, EachRoleComesFromTheSourcesTextAndStyle) {
    CountingSource source(2, 2);
    GridModel model(&source);
    const QModelIndex plain = model.index(0, 0), red = model.index(0, 1), green = model.index(1, 1);

    EXPECT_EQ(model.data(red).toString(), "0.1");
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "H1");
    EXPECT_EQ(model.data(plain, Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(model.data(red, Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(model.data(green, Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
    EXPECT_TRUE(model.data(red, Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(model.data(plain, Qt::FontRole).isValid());  // the view's font
    EXPECT_EQ(model.data(red, Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    EXPECT_FALSE(model.data(red, Qt::BackgroundRole).isValid());
    EXPECT_EQ(model.data(green, Qt::BackgroundRole).value<QBrush>().color(), QColor(0, 200, 0));
    EXPECT_FALSE(model.data(plain, Qt::ForegroundRole).isValid());

    // What a delegate asks when it paints a cell: one style and one text for all roles.
    source.textCalls = source.styleCalls = 0;
    QModelRoleData roles[] = {QModelRoleData(Qt::DisplayRole),    QModelRoleData(Qt::TextAlignmentRole),
                              QModelRoleData(Qt::FontRole),       QModelRoleData(Qt::ForegroundRole),
                              QModelRoleData(Qt::BackgroundRole), QModelRoleData(Qt::DecorationRole)};
    model.multiData(red, roles);
    EXPECT_EQ(source.textCalls, 1);
    EXPECT_EQ(source.styleCalls, 1);
    EXPECT_EQ(roles[0].data().toString(), "0.1");
    EXPECT_EQ(roles[3].data().value<QBrush>().color(), QColor(255, 0, 0));
    EXPECT_FALSE(roles[5].data().isValid());
}

TEST(GridModel, RefreshRepaintsAndResetsOnlyWhenTheShapeChanged) {
    CountingSource source(5, 3);
    GridModel model(&source);
    int changed = 0, resets = 0;
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++changed; });
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });

    model.refresh();
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(resets, 0);

    source.rows = 7;
    EXPECT_EQ(model.rowCount(), 5) << "the model announces a new count only when told";
    model.refresh();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(model.rowCount(), 7);

    model.setSource(nullptr);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(model.data(model.index(0, 0)).isValid());
}

TEST(DataGrid, PaintsACellsBackColour) {
    CountingSource source(3, 3);
    DataGrid grid;
    grid.setSource(&source);
    grid.resize(300, 200);
    const QImage picture = grid.grab().toImage();
    ASSERT_FALSE(picture.isNull());
    const QPoint centre = grid.viewport()->mapTo(&grid, grid.visualRect(grid.model()->index(1, 1)).center());
    EXPECT_EQ(picture.pixelColor(centre * picture.devicePixelRatio()), QColor(0, 200, 0));
}

TEST(DataGrid, CopiesTheSelectedBlockWithoutHiddenColumns) {
    CountingSource source(3, 4);
    source.hidden = {2};
    DataGrid grid;
    grid.setSource(&source);
    EXPECT_TRUE(grid.isColumnHidden(2));
    EXPECT_EQ(grid.selectedText(), "");

    QAbstractItemModel* model = grid.model();
    grid.selectionModel()->select(QItemSelection(model->index(0, 1), model->index(1, 3)),
                                  QItemSelectionModel::Select);
    EXPECT_EQ(grid.selectedRange(), (GridRange{0, 1, 1, 3}));
    EXPECT_EQ(grid.selectedText(), "0.1\t0.3\r\n1.1\t1.3");

    QGuiApplication::clipboard()->setText("before");
    QKeyEvent ctrlC(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(&grid, &ctrlC);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "0.1\t0.3\r\n1.1\t1.3");

    source.hidden = {3};  // the window hides another column: shown on the next refresh
    grid.gridModel().refresh();
    EXPECT_FALSE(grid.isColumnHidden(2));
    EXPECT_TRUE(grid.isColumnHidden(3));
    EXPECT_EQ(grid.selectedText(), "0.1\t0.2\r\n1.1\t1.2");
}

// Nine columns as the point table has them: 0 and 8 hidden, the block a b / c d in columns 1 and 2
// of rows 1 and 2, the hidden cells filled so that a leak would show.
class LetterTable : public GridSource {
  public:
    std::int32_t rowCount() const override { return 4; }
    std::int32_t columnCount() const override { return 9; }
    std::string headerText(std::int32_t column) const override { return "H" + std::to_string(column); }
    std::string text(std::int32_t row, std::int32_t column) const override {
        if (column == 0) return "hidden0";
        if (column == 8) return "hidden8";
        if (row == 1 && column == 1) return "a";
        if (row == 1 && column == 2) return "b";
        if (row == 2 && column == 1) return "c";
        if (row == 2 && column == 2) return "d";
        return "r" + std::to_string(row) + "c" + std::to_string(column);
    }
    bool columnHidden(std::int32_t column) const override { return column == 0 || column == 8; }
};

TEST(DataGrid, CopyKeysAndTheBlockWithEndsGiveTheTwoCopyTexts) {
    LetterTable source;
    DataGrid grid;
    grid.setSource(&source);
    QString announced;
    QObject::connect(&grid, &DataGrid::copied, [&](const QString& text) { announced = text; });

    grid.selectBlock(2, 2, 1, 1);  // made upwards: the block is the same
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(2, 2));
    EXPECT_EQ(grid.selectedRange(), (GridRange{1, 1, 2, 2}));
    EXPECT_EQ(grid.selectedTextWithEnds(), "a\tb\t\r\nc\td\t\r\n");

    struct Case {
        const char* what;
        int key;
        Qt::KeyboardModifiers modifiers;
        bool copies;
    } cases[] = {
        {"Ctrl+C", Qt::Key_C, Qt::ControlModifier, true},
        {"Ctrl+Insert", Qt::Key_Insert, Qt::ControlModifier, true},
        {"Ctrl+Shift+C", Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, false},
        {"C", Qt::Key_C, Qt::NoModifier, false},
    };
    for (const auto& c : cases) {
        QGuiApplication::clipboard()->setText("before");
        announced.clear();
        QKeyEvent key(QEvent::KeyPress, c.key, c.modifiers);
        QApplication::sendEvent(&grid, &key);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), c.copies ? "a\tb\r\nc\td" : "before") << c.what;
        EXPECT_EQ(announced, c.copies ? "a\tb\r\nc\td" : "") << c.what;
    }
}

TEST(DataGrid, HiddenColumnsZeroAndEightAreNeverCopied) {
    LetterTable source;
    DataGrid grid;
    grid.setSource(&source);
    EXPECT_TRUE(grid.isColumnHidden(0));
    EXPECT_TRUE(grid.isColumnHidden(8));
    const std::pair<GridRange, const char*> blocks[] = {{{0, 0, 3, 8}, "whole table"},
                                                        {{1, 0, 1, 1}, "hidden 0 and a"},
                                                        {{2, 7, 2, 8}, "column 7 and hidden 8"},
                                                        {{0, 8, 3, 8}, "hidden 8 only"}};
    for (const auto& [block, what] : blocks) {
        grid.selectBlock(block.firstRow, block.firstColumn, block.lastRow, block.lastColumn);
        for (const std::string& text : {grid.selectedText(), grid.selectedTextWithEnds()}) {
            EXPECT_EQ(text.find("hidden"), std::string::npos) << what << ": " << text;
        }
    }
    grid.selectBlock(1, 0, 1, 1);
    EXPECT_EQ(grid.selectedText(), "a");
    EXPECT_EQ(grid.selectedTextWithEnds(), "a\t\r\n");
    grid.setCurrentCell(3, 8);
    EXPECT_EQ(grid.selectedText(), "");
    EXPECT_EQ(grid.selectedTextWithEnds(), "");
}

}  // namespace
}  // namespace kal
