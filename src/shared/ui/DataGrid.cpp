#include "shared/ui/DataGrid.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <algorithm>

namespace kal {

namespace {
// Room beyond the measured text, so a fitted number does not touch the next column's line.
constexpr int kAirPixels = 4;
}  // namespace

DataGrid::DataGrid(QWidget* parent) : QTableView(parent) {
    setModel(&model_);
    setWordWrap(false);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    QHeaderView* rows = verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->hide();  // the grids have no row numbers; the header still holds the row heights
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    setFixedRowHeight(fontMetrics().height() + 6);

    // Hidden columns follow the source whenever the model is told of a change.
    connect(&model_, &QAbstractItemModel::modelReset, this, &DataGrid::showHiddenColumns);
    connect(&model_, &QAbstractItemModel::headerDataChanged, this, &DataGrid::showHiddenColumns);
}

void DataGrid::setSource(const GridSource* source) { model_.setSource(source); }

int DataGrid::fittedColumnWidth(int column) const {
    const GridSource* source = model_.source();
    if (!source || column < 0 || column >= model_.columnCount()) return 0;
    int width = horizontalHeader()->sectionSizeHint(column);

    // The delegate's text rectangle: the cell less a margin on either side and, with the grid
    // shown, the grid line at its right.
    const int textMargin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int cellExtra = 2 * textMargin + (showGrid() ? 1 : 0) + kAirPixels;
    QFont boldFont = font();
    boldFont.setBold(true);
    const QFontMetrics regular(font()), bold(boldFont);
    auto measure = [&](std::int32_t row) {
        const QString text = QString::fromStdString(source->text(row, column));
        if (text.isEmpty()) return;
        const QFontMetrics& metrics = source->style(row, column).bold ? bold : regular;
        width = std::max(width, metrics.horizontalAdvance(text) + cellExtra);
    };
    const std::int32_t rows = model_.rowCount();
    if (rows <= kFittedRows) {
        for (std::int32_t row = 0; row < rows; ++row) measure(row);
    } else {
        for (std::int64_t k = 0; k < kFittedRows; ++k)
            measure(static_cast<std::int32_t>(k * (rows - 1) / (kFittedRows - 1)));
        // The sample may pass over the one long text of a column; the source may know its row.
        if (const std::int32_t longest = source->longestTextRow(column); longest >= 0 && longest < rows)
            measure(longest);
    }
    return width;
}

void DataGrid::setFixedRowHeight(int pixels) { verticalHeader()->setDefaultSectionSize(pixels); }

int DataGrid::fixedRowHeight() const { return verticalHeader()->defaultSectionSize(); }

void DataGrid::showHiddenColumns() {
    const GridSource* source = model_.source();
    for (int column = 0; column < model_.columnCount(); ++column)
        setColumnHidden(column, source && source->columnHidden(column));
}

GridRange DataGrid::selectedRange() const {
    // The ranges, not selectedIndexes(): a selected column of 10^6 rows is one range.
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty()) return {};
    GridRange range{selection.first().top(), selection.first().left(), selection.first().bottom(),
                    selection.first().right()};
    for (const QItemSelectionRange& part : selection) {
        range.firstRow = std::min(range.firstRow, part.top());
        range.firstColumn = std::min(range.firstColumn, part.left());
        range.lastRow = std::max(range.lastRow, part.bottom());
        range.lastColumn = std::max(range.lastColumn, part.right());
    }
    return range;
}

std::string DataGrid::selectedText() const {
    const GridSource* source = model_.source();
    return source ? source->copyText(selectedRange()) : std::string();
}

std::string DataGrid::selectedTextWithEnds() const {
    const GridSource* source = model_.source();
    return source ? source->copyTextWithEnds(selectedRange()) : std::string();
}

void DataGrid::copySelection() {
    const QString text = QString::fromStdString(selectedText());
    QGuiApplication::clipboard()->setText(text);
    emit copied(text);
}

void DataGrid::setCurrentCell(int row, int column) { selectBlock(row, column, row, column); }

void DataGrid::selectBlock(int row, int column, int endRow, int endColumn) {
    const QModelIndex current = model_.index(row, column);
    if (!current.isValid()) return;
    const QModelIndex end = model_.index(std::clamp(endRow, 0, model_.rowCount() - 1),
                                         std::clamp(endColumn, 0, model_.columnCount() - 1));
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(current, end), QItemSelectionModel::ClearAndSelect);
}

namespace {

// Ctrl+C or Ctrl+Insert with no other modifier (keypad keys count as the plain ones).
bool isCopyKey(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return modifiers == Qt::ControlModifier && (event->key() == Qt::Key_C || event->key() == Qt::Key_Insert);
}

}  // namespace

bool DataGrid::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        (isCopyKey(static_cast<QKeyEvent*>(event)) ||
         static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))) {
        event->accept();  // the key comes to keyPressEvent instead of triggering a shortcut
        return true;
    }
    return QTableView::event(event);
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    if (isCopyKey(event) || event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace kal
