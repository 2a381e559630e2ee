#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <string>
#include <vector>

#include "calculation/ui/PointTable.h"
#include "support/KnownTransformJob.h"

namespace kal {
namespace {

// n identical points P1..Pn whose x residual is k mm for point k (so "dev.x" sorts like the names'
// numbers), seeds P1, P2, P3.
JobState jobOf(std::int32_t n) {
    JobState job;
    testing::setMillimetreDegree(job);
    testing::sizeIdentical(job, n);
    for (std::int32_t k = 1; k <= n; ++k) {
        job.OCS_X.set(k, 0.0);
        job.MCSt_X.set(k, static_cast<double>(k));
    }
    job.SeedPointNames = {"", "P1", "P2", "P3"};
    job.SeedPointIndex = {0, 1, 2, 3};
    return job;
}

struct Table {
    JobState job;
    JobEvents events;
    PointTable table{job, events};
    int recalculations = 0, contextMenus = 0;
    std::vector<QString> selected;

    explicit Table(std::int32_t points) : job(jobOf(points)) {
        QObject::connect(&table, &PointTable::recalculationRequested, [this] { ++recalculations; });
        QObject::connect(&table, &PointTable::contextMenuRequested, [this] { ++contextMenus; });
        QObject::connect(&table, &PointTable::pointSelected,
                         [this](const QString& name) { selected.push_back(name); });
        table.resize(700, 400);
        table.setDeviationShown(true);  // as the window's set-up does
        table.show();
        QApplication::processEvents();
    }
    std::string text(int row, int column) {
        return table.gridModel().data(table.gridModel().index(row, column)).toString().toStdString();
    }
    std::vector<std::string> column(int c) {
        std::vector<std::string> out;
        for (int row = 0; row < table.gridModel().rowCount(); ++row) out.push_back(text(row, c));
        return out;
    }
    QColor back(int row, int column) {
        return table.gridModel()
            .data(table.gridModel().index(row, column), Qt::BackgroundRole)
            .value<QBrush>()
            .color();
    }
    void mouse(QEvent::Type type, int row, int column, Qt::MouseButton button = Qt::LeftButton) {
        table.scrollTo(table.gridModel().index(row, column));
        const QPoint at = table.visualRect(table.gridModel().index(row, column)).center();
        QMouseEvent event(type, at, table.viewport()->mapToGlobal(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QApplication::sendEvent(table.viewport(), &event);
    }
    void doubleClick(int row, int column) {
        mouse(QEvent::MouseButtonPress, row, column);
        mouse(QEvent::MouseButtonRelease, row, column);
        mouse(QEvent::MouseButtonDblClick, row, column);
        mouse(QEvent::MouseButtonRelease, row, column);
    }
    void key(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, code, modifiers);
        QApplication::sendEvent(&table, &event);
    }
    std::int16_t flag(std::int32_t point, int component) {
        return job.UseFlags[static_cast<std::size_t>(3 * (point - 1) + component)];
    }
};

const QColor kGreen(0, 255, 0), kWhite(255, 255, 255), kYellow(255, 255, 0);

TEST(PointTable, FillsFromTheJobOnlyWhileDeviationIsShown) {
    Table t(4);
    EXPECT_EQ(t.table.objectName(), "Tabelle");
    EXPECT_EQ(t.column(1), (std::vector<std::string>{"P1", "P2", "P3", "P4"}));
    EXPECT_EQ(t.column(2), (std::vector<std::string>{"1.000", "2.000", "3.000", "4.000"}));
    EXPECT_EQ(t.column(5), (std::vector<std::string>{"X", "X", "X", "X"}));
    EXPECT_EQ(t.back(2, 1), kGreen);
    EXPECT_NE(t.back(3, 1), kGreen);
    EXPECT_TRUE(t.table.isColumnHidden(0));
    EXPECT_TRUE(t.table.isColumnHidden(8));
    t.table.setDeviationShown(false);
    EXPECT_EQ(t.table.gridModel().rowCount(), 0);
    EXPECT_EQ(t.table.gridModel().headerData(2, Qt::Horizontal).toString(), "dev.x");
    t.table.setDeviationShown(true);
    EXPECT_EQ(t.table.gridModel().rowCount(), 4);
}

TEST(PointTable, DoubleClicksToggleAResidualOrUseCellAndEveryToggleMarksTheJobChanged) {
    Table t(3);
    t.doubleClick(1, 3);  // dev.y of P2
    EXPECT_EQ(t.flag(2, 2), 0);
    EXPECT_EQ(t.text(1, 6), "");
    EXPECT_EQ(t.back(1, 3), kYellow);
    EXPECT_TRUE(t.job.JobDirty);
    EXPECT_EQ(t.recalculations, 0);
    t.job.JobDirty = false;
    t.doubleClick(1, 6);  // use.y of P2
    EXPECT_EQ(t.flag(2, 2), 1);
    EXPECT_EQ(t.text(1, 6), "X");
    EXPECT_EQ(t.back(1, 3), kWhite);
    EXPECT_TRUE(t.job.JobDirty);

    // A block holding dev.x and use.x of one row toggles that flag twice.
    t.table.selectBlock(0, 2, 0, 5);
    t.key(Qt::Key_Space);
    EXPECT_EQ(t.flag(1, 1), 1);
    EXPECT_EQ(t.flag(1, 2), 0);
    EXPECT_EQ(t.flag(1, 3), 0);
    EXPECT_EQ(t.table.selectedRange(), (GridRange{0, 5, 0, 5}))
        << "the walk leaves the block's last cell current";

    // With automatic recalculation every double click recalculates, one on the header too.
    t.job.AutoRecalc = true;
    t.doubleClick(2, 7);
    EXPECT_EQ(t.flag(3, 3), 0);
    EXPECT_EQ(t.recalculations, 1);
    emit t.table.horizontalHeader()->sectionDoubleClicked(3);
    EXPECT_EQ(t.recalculations, 2);
}

TEST(PointTable, RDistModeTogglesAndRepaintsAllThreeCellsOfThePoint) {
    Table t(3);
    t.table.setRDistModeQuery([] { return true; });
    int repaints = 0;
    QObject::connect(&t.table.gridModel(), &QAbstractItemModel::dataChanged, [&] { ++repaints; });
    t.doubleClick(0, 5);  // use.x of P1
    EXPECT_EQ((std::vector<int>{t.flag(1, 1), t.flag(1, 2), t.flag(1, 3)}), (std::vector<int>{0, 0, 0}));
    EXPECT_GE(repaints, 1);
    for (int column : {5, 6, 7}) EXPECT_EQ(t.text(0, column), "") << column;
    for (int column : {2, 3, 4}) EXPECT_EQ(t.back(0, column), kYellow) << column;
    t.doubleClick(0, 7);  // the next toggle reads the z flag as it is, not a stale cell
    EXPECT_EQ((std::vector<int>{t.flag(1, 1), t.flag(1, 2), t.flag(1, 3)}), (std::vector<int>{1, 1, 1}));
}

TEST(PointTable, DoubleClickOnANameMakesItTheFirstSeedAlsoAfterADescendingSort) {
    Table t(8);
    t.table.headerClicked(2);
    t.table.headerClicked(2);  // dev.x descending
    EXPECT_EQ(t.table.sortDirection(), 2);
    EXPECT_EQ(t.column(1), (std::vector<std::string>{"P8", "P7", "P6", "P5", "P4", "P3", "P2", "P1"}));
    const int row = t.table.rowOfName("P7");
    ASSERT_EQ(row, 1);
    t.doubleClick(row, 1);
    EXPECT_EQ(t.job.SeedPointNames, (std::array<std::string, 4>{"", "P7", "P1", "P2"}));
    EXPECT_EQ(t.job.SeedPointIndex, (std::array<std::int32_t, 4>{0, 7, 1, 2}));
    EXPECT_TRUE(t.job.JobDirty);
    // The green marks follow, and the refill kept the descending order.
    EXPECT_EQ(t.column(1), (std::vector<std::string>{"P8", "P7", "P6", "P5", "P4", "P3", "P2", "P1"}));
    EXPECT_EQ(t.back(1, 1), kGreen);
    EXPECT_NE(t.back(5, 1), kGreen);  // P3 is no seed any more
    EXPECT_EQ(t.back(7, 1), kGreen);
    EXPECT_EQ(t.flag(7, 1), 1) << "a name cell has no flag";

    t.doubleClick(t.table.rowOfName("P1"), 1);  // already a seed: nothing moves
    EXPECT_EQ(t.job.SeedPointNames, (std::array<std::string, 4>{"", "P7", "P1", "P2"}));
}

TEST(PointTable, HeaderClicksSortNamesAndResidualsOnlyAndTheSortSurvivesRefills) {
    Table t(12);
    t.table.headerClicked(6);  // use.y: no sort
    EXPECT_EQ(t.table.sortDirection(), 0);
    EXPECT_EQ(t.text(0, 1), "P1");
    t.table.headerClicked(1);  // names: numbers inside texts do not count, texts by bytes
    EXPECT_EQ(t.text(0, 1), "P1");
    EXPECT_EQ(t.text(1, 1), "P10");
    t.table.headerClicked(2);  // dev.x ascending: by value
    EXPECT_EQ(t.table.sortDirection(), 2) << "every click reverses, whichever column";
    t.table.headerClicked(2);
    EXPECT_EQ(t.column(8).front(), "1");
    EXPECT_EQ(t.text(11, 2), "12.000");
    t.job.MCSt_X.set(1, 100.0);  // a calculation moves P1 to the end
    t.events.publish(JobEvent::ResultsChanged);
    EXPECT_EQ(t.text(11, 1), "P1");
    EXPECT_EQ(t.text(11, 2), "100.000");
}

// After a header click every refill puts the current cell into the sort column on its row, so the
// space bar after a calculation toggles the sort column; before any header click it stays.
TEST(PointTable, ARefillMovesTheCurrentCellToTheSortColumn) {
    Table t(5);
    t.table.setCurrentCell(2, 6);
    t.events.publish(JobEvent::ResultsChanged);
    EXPECT_EQ(t.table.selectedRange(), (GridRange{2, 6, 2, 6})) << "no sort column yet";

    t.table.headerClicked(3);  // dev.y ascending: the order of the points stays
    t.table.selectBlock(2, 5, 3, 6);
    t.events.publish(JobEvent::ResultsChanged);
    EXPECT_EQ(t.table.currentIndex().row(), 2);
    EXPECT_EQ(t.table.currentIndex().column(), 3);
    EXPECT_EQ(t.table.selectedRange(), (GridRange{2, 3, 2, 3}));
    t.key(Qt::Key_Space);
    EXPECT_EQ(t.flag(3, 2), 0) << "dev.y of P3, the cell the refill made current";
    EXPECT_EQ(t.flag(3, 1), 1);

    // Sorted by name, the refill makes a name current, which selects that point elsewhere.
    t.table.headerClicked(1);
    t.table.setCurrentCell(4, 2);
    t.selected.clear();
    t.events.publish(JobEvent::ResultsChanged);
    EXPECT_EQ(t.table.currentIndex().column(), 1);
    EXPECT_EQ(t.selected, (std::vector<QString>{QString::fromStdString(t.text(4, 1))}));
}

TEST(PointTable, SwitchMaxPointTogglesTheNamedPointAndNothingForAnEmptyBox) {
    Table t(4);
    t.job.AutoRecalc = true;
    t.table.switchMaxPoint(0, "");
    t.table.switchMaxPoint(1, "P9");
    EXPECT_EQ(t.recalculations, 0);
    EXPECT_FALSE(t.job.JobDirty);
    for (std::size_t i = 1; i < t.job.UseFlags.size(); ++i) EXPECT_EQ(t.job.UseFlags[i], 1) << i;

    t.table.headerClicked(2);
    t.table.headerClicked(2);  // the walk finds the name whatever the order
    t.table.switchMaxPoint(2, "P3");
    EXPECT_EQ(t.flag(3, 3), 0);
    EXPECT_EQ(t.flag(3, 1), 1);
    EXPECT_EQ(t.recalculations, 1);
    EXPECT_TRUE(t.job.JobDirty);
}

TEST(PointTable, TenThousandSelectedRowsToggleCopyAndChart) {
    Table t(10000);
    t.table.selectBlock(9999, 5, 0, 5);  // use.x of every point, selected upwards
    t.key(Qt::Key_Space);
    std::size_t used = 0;
    for (std::int32_t k = 1; k <= 10000; ++k) used += t.flag(k, 1) == 1;
    EXPECT_EQ(used, 0u);

    t.table.selectBlock(9999, 2, 0, 2);  // dev.x, selected upwards; the right click keeps it
    t.mouse(QEvent::MouseButtonPress, 5, 2, Qt::RightButton);
    EXPECT_EQ(t.contextMenus, 1);
    EXPECT_EQ(t.table.selectedRange(), (GridRange{0, 2, 9999, 2}));
    ASSERT_EQ(t.table.selectedValues().size(), 10000u);
    EXPECT_DOUBLE_EQ(t.table.selectedValues().front(), 1.0);
    EXPECT_DOUBLE_EQ(t.table.selectedValues().back(), 10000.0);
    const std::string& text = t.table.clipboardText();
    EXPECT_EQ(text.substr(0, 14), "1.000\t\r\n2.000\t");
    EXPECT_EQ(text.substr(text.size() - 12), "10000.000\t\r\n");

    // Ctrl+C copies the same block without the ends.
    t.key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(t.table.clipboardText().substr(0, 12), "1.000\r\n2.000");
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), t.table.clipboardText());

    // A right click outside the names and residuals does nothing.
    t.table.setCurrentCell(0, 6);
    t.mouse(QEvent::MouseButtonPress, 0, 6, Qt::RightButton);
    EXPECT_EQ(t.contextMenus, 1);
}

TEST(PointTable, AReloadThatDropsASeedPointFallsBackToTheDefaults) {
    Table t(5);
    t.job.SeedPointNames = {"", "P4", "P5", "P2"};
    t.job.SeedPointIndex = {0, 4, 5, 2};

    // The points come back in another order: the seeds are found again by name.
    t.job.MCS_Name = {"", "P5", "P4", "P3", "P2", "P1"};
    t.events.publish(JobEvent::PointsReplaced);
    EXPECT_EQ(t.job.SeedPointIndex, (std::array<std::int32_t, 4>{0, 2, 1, 4}));

    // A reload without P5: the defaults, the first three points.
    testing::sizeIdentical(t.job, 4);
    t.events.publish(JobEvent::PointsReplaced);
    EXPECT_EQ(t.job.SeedPointNames, (std::array<std::string, 4>{"", "P1", "P2", "P3"}));
    EXPECT_EQ(t.job.SeedPointIndex, (std::array<std::int32_t, 4>{0, 1, 2, 3}));
    EXPECT_EQ(t.table.gridModel().rowCount(), 4);
    EXPECT_EQ(t.back(2, 1), kGreen);
    EXPECT_NE(t.back(3, 1), kGreen);
}

TEST(PointTable, UseAllPointsTakesEveryObservationBackAndSelectingANameAnnouncesIt) {
    Table t(3);
    t.job.UseFlags = {0, 0, 1, 0, 2, 0, 0, 1, 1, 0};
    t.table.useAllPoints();
    for (std::size_t i = 1; i < t.job.UseFlags.size(); ++i) EXPECT_EQ(t.job.UseFlags[i], 1) << i;
    EXPECT_TRUE(t.job.JobDirty);
    EXPECT_EQ(t.column(7), (std::vector<std::string>{"X", "X", "X"}));
    EXPECT_EQ(t.recalculations, 0);
    t.job.AutoRecalc = true;
    t.table.useAllPoints();
    EXPECT_EQ(t.recalculations, 1);

    t.selected.clear();
    t.table.setCurrentCell(1, 1);
    t.table.setCurrentCell(1, 2);
    EXPECT_EQ(t.selected, (std::vector<QString>{"P2"}));
}

}  // namespace
}  // namespace kal
