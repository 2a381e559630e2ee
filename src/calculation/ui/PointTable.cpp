#include "calculation/ui/PointTable.h"

#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "engine/DesignMatrix.h"
#include "engine/EngineControls.h"

namespace kal {

PointTable::PointTable(JobState& job, JobEvents& events, QWidget* parent)
    : DataGrid(parent), job_(job), events_(events), source_(job), sorted_(&source_) {
    setObjectName("Tabelle");
    QFont courier("Courier");
    courier.setStyleHint(QFont::TypeWriter);  // whichever fixed-width face the system has
    courier.setPointSizeF(9.75);
    setFont(courier);
    setFixedRowHeight(fontMetrics().height() + 6);
    setSource(&sorted_);

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &PointTable::headerClicked);
    // A double click on the header toggles nothing but still recalculates.
    connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [this] { afterToggles(); });
    connect(this, &DataGrid::copied, this,
            [this](const QString& text) { clipboardText_ = text.toStdString(); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &PointTable::announceCurrentPoint);

    // The result display refills the table after every calculation; the others whenever the rows'
    // contents change under it. A toggle of this table repaints its own cells instead.
    subscriptions_.push_back(events_.subscribe(JobEvent::ResultsChanged, Subscriber::ResultDisplay, [this] {
        if (source_.deviationShown()) refill();
    }));
    subscriptions_.push_back(events_.subscribe(
        {JobEvent::JobReset, JobEvent::PointsReplaced, JobEvent::UseFlagsChanged, JobEvent::UnitsChanged},
        Subscriber::Other, [this](JobEvent) {
            if (!publishing_) refill();
        }));
}

PointTable::~PointTable() {
    subscriptions_.clear();
    // The sources go before the grid's model: it must not ask them for anything on the way out.
    // Quietly, as whoever listens to the model may be gone already (the window deleting its children).
    const QSignalBlocker quiet(&gridModel());
    setSource(nullptr);
}

void PointTable::refill() {
    // Seeds that no longer name their points are found again by name, else the defaults; the
    // refill shows them green.
    checkSeedPoints(job_);
    const int firstColumn = horizontalScrollBar()->value();
    const int firstRow = verticalScrollBar()->value();
    source_.refresh();
    sorted_.resort();
    gridModel().refresh();  // a reset only when the number of points changed
    updateGeometries();
    // The current cell goes to the column the table is sorted by, on its row, so the space bar
    // and a right click after a calculation act on the sort column. Before any header click
    // there is no sort column and the current cell stays.
    if (const QModelIndex current = currentIndex(); current.isValid() && sortColumn_ >= kPointNameColumn)
        setCurrentCell(current.row(), sortColumn_);
    // A first visible row that no longer exists leaves the table at its end.
    horizontalScrollBar()->setValue(firstColumn);
    verticalScrollBar()->setValue(firstRow);
    emit refilled();
}

void PointTable::setDeviationShown(bool shown) {
    source_.setDeviationShown(shown);
    refill();
}

std::int32_t PointTable::pointOfRow(int row) const {
    const std::int32_t base = sorted_.baseRow(row);
    return base < 0 ? 0 : PointTableSource::pointOfRow(base);
}

int PointTable::rowOfName(const std::string& name) const {
    for (std::int32_t row = 0; row < sorted_.rowCount(); ++row) {
        const std::int32_t point = pointOfRow(row);
        if (point >= 1 && static_cast<std::size_t>(point) < job_.MCS_Name.size() &&
            job_.MCS_Name[static_cast<std::size_t>(point)] == name)
            return row;
    }
    return -1;
}

bool PointTable::rDistMode() const {
    if (rDistMode_) return rDistMode_();
    return isRDistMode(job_, EngineControls{}, job_.ParamState);
}

void PointTable::headerClicked(int column) {
    if (column < kPointNameColumn || column >= kFirstUseColumn) return;
    sortDirection_ = sortDirection_ == 1 ? 2 : 1;
    sortColumn_ = column;
    sorted_.sortBy(column, sortDirection_ == 1 ? SortOrder::Ascending : SortOrder::Descending);
    gridModel().refresh();
}

void PointTable::toggleSelection() {
    GridRange block = selectedRange();
    if (block.empty() && currentIndex().isValid())
        block = {currentIndex().row(), currentIndex().column(), currentIndex().row(),
                 currentIndex().column()};
    bool toggled = false;
    if (!block.empty() && source_.deviationShown()) {
        const bool rDist = rDistMode();
        // Row by row, within a row column by column: a block holding "dev.x" and "use.x" of one
        // row toggles that flag twice.
        for (std::int32_t row = block.firstRow; row <= block.lastRow; ++row) {
            const std::int32_t point = pointOfRow(row);
            for (std::int32_t column = block.firstColumn; column <= block.lastColumn; ++column)
                if (const int component = useComponentOfColumn(column); component != 0 && point != 0)
                    toggled = toggleUseFlag(job_, point, component, rDist) >= 0 || toggled;
        }
        // The walk over the block leaves its last cell current, and the selection with it.
        setCurrentCell(block.lastRow, block.lastColumn);
        // All cells repaint: in the R Dist mode a toggle changes all three cells of a point.
        if (toggled) gridModel().refresh();

        if (block.lastColumn == kPointNameColumn && block.lastRow >= 0) {
            if (chooseSeedPoint(job_, pointOfRow(block.lastRow))) refill();  // the green marks move
        }
    }
    if (toggled) {
        publishing_ = true;
        try {
            events_.publish(JobEvent::UseFlagsChanged);  // the graphics windows' flags follow
        } catch (...) {
            publishing_ = false;
            throw;
        }
        publishing_ = false;
    }
    afterToggles();
}

void PointTable::afterToggles() {
    if (job_.AutoRecalc) emit recalculationRequested();
}

void PointTable::switchMaxPoint(int component, const std::string& pointName) {
    if (component < 0 || component > 2 || pointName.empty() || !isEnabled()) return;
    const int row = rowOfName(pointName);
    if (row < 0) return;  // a box whose point the table does not hold
    setCurrentCell(row, kFirstUseColumn + component);
    toggleSelection();
}

void PointTable::useAllPoints() {
    if (!isEnabled()) return;
    const std::size_t last =
        std::min(job_.UseFlags.size() - 1, static_cast<std::size_t>(3 * std::max(job_.IdenticalCount, 0)));
    for (std::size_t i = 1; i <= last; ++i) job_.UseFlags[i] = 1;
    job_.JobDirty = true;
    if (job_.AutoRecalc)
        emit recalculationRequested();  // its result display refills the table
    else
        refill();
    publishing_ = true;
    try {
        events_.publish(JobEvent::UseFlagsChanged);
    } catch (...) {
        publishing_ = false;
        throw;
    }
    publishing_ = false;
}

void PointTable::announceCurrentPoint() {
    const QModelIndex current = currentIndex();
    if (!current.isValid() || current.column() != kPointNameColumn) return;
    emit pointSelected(QString::fromStdString(sorted_.text(current.row(), kPointNameColumn)));
}

void PointTable::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space) {
        toggleSelection();
        event->accept();
        return;
    }
    DataGrid::keyPressEvent(event);
}

void PointTable::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        // A right click keeps the current cell and the selection.
        rightClick(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    DataGrid::mousePressEvent(event);
}

void PointTable::mouseDoubleClickEvent(QMouseEvent* event) {
    DataGrid::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        toggleSelection();
}

void PointTable::rightClick(const QPoint& globalPos) {
    const QModelIndex current = currentIndex();
    if (!current.isValid() || current.column() >= kFirstUseColumn) return;
    GridRange block = selectedRange();
    if (block.empty()) block = {current.row(), current.column(), current.row(), current.column()};
    // The values of the selected rows in the current column, as many as there are.
    selectedValues_.clear();
    selectedValues_.reserve(static_cast<std::size_t>(block.lastRow - block.firstRow + 1));
    for (std::int32_t row = block.firstRow; row <= block.lastRow; ++row) {
        const SortKey key = sorted_.sortKey(row, current.column());
        selectedValues_.push_back(key.isNumber ? key.number : 0.0);
    }
    clipboardText_ = sorted_.copyTextWithEnds(block);
    emit contextMenuRequested(globalPos);
}

}  // namespace kal
