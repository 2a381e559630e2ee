#include "results/ui/FormMainSheet.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <algorithm>
#include <functional>

#include "shared/WindowPos.h"
#include "shared/ui/GridColumnWidths.h"

namespace kal {

namespace {

constexpr const char* kNoDataMessage = "No Data found; Problem in Modul FuellenHaupttabelle";

bool isCtrlC(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return event->key() == Qt::Key_C && modifiers == Qt::ControlModifier;
}

// Sets a flag for the lifetime of the guard and puts the previous value back.
class FlagGuard {
  public:
    FlagGuard(bool& flag, bool value) : flag_(flag), old_(flag) { flag_ = value; }
    ~FlagGuard() { flag_ = old_; }

  private:
    bool& flag_;
    bool old_;
};

class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

// The grid of the sheet: every key is the window's (no key moves the current cell; Ctrl+C copies,
// also when the main window's "Copy" has the same shortcut), the right button leaves the selection
// alone and hands it to the window, and a drag or a Shift+click extends the selection without
// moving the current cell, which stays the selection's anchor.
class FormMainSheet::Grid : public DataGrid {
  public:
    explicit Grid(QWidget* parent) : DataGrid(parent) {}

    std::function<void()> onCopy;
    std::function<void(const QPoint&)> onRightButton;
    bool trackingCurrent() const { return !extending_; }

  protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ShortcutOverride && isCtrlC(static_cast<QKeyEvent*>(e))) {
            e->accept();
            return true;
        }
        return DataGrid::event(e);
    }
    void keyPressEvent(QKeyEvent* e) override {
        if (isCtrlC(e) && onCopy) onCopy();
        e->accept();
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::RightButton) {
            e->accept();
            if (onRightButton) onRightButton(e->globalPosition().toPoint());
            return;
        }
        if (e->modifiers() & Qt::ShiftModifier) {
            extending_ = true;
            DataGrid::mousePressEvent(e);
            return;
        }
        extending_ = false;
        DataGrid::mousePressEvent(e);
        extending_ = e->button() == Qt::LeftButton;  // the drag that may follow
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        DataGrid::mouseReleaseEvent(e);
        extending_ = false;
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        if (e->button() == Qt::RightButton) return e->accept();
        DataGrid::mouseDoubleClickEvent(e);
    }

  private:
    bool extending_ = false;
};

FormMainSheet::FormMainSheet(JobState& job, platform::Services services, QWidget* parent)
    : QWidget(parent), job_(job), services_(services), sheet_(job), sorted_(&sheet_) {
    setObjectName("FormMainSheet");
    setWindowTitle(QString::fromStdString(mainSheetCaption(job_.NameOCS)));
    resize(twipsToPixels(13470, logicalDpiX()), twipsToPixels(9570, logicalDpiY()));

    grid_ = new Grid(this);
    grid_->setObjectName("MSFlexGrid1");
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(9.75);
    grid_->setFont(font);
    grid_->setFixedRowHeight(QFontMetrics(font).height() + 4);
    grid_->setContextMenuPolicy(Qt::PreventContextMenu);
    grid_->setSource(&sorted_);
    grid_->onCopy = [this] { copySelection(); };
    grid_->onRightButton = [this](const QPoint& at) { rightButtonSelection(at); };

    // A title click sorts; it selects no column.
    QHeaderView* titles = grid_->horizontalHeader();
    disconnect(titles, &QHeaderView::sectionPressed, grid_, nullptr);
    disconnect(titles, &QHeaderView::sectionEntered, grid_, nullptr);
    titles->setSectionsClickable(true);
    connect(titles, &QHeaderView::sectionClicked, this, [this](int column) { clickTitle(column); });
    widths_ = new GridColumnWidths(*grid_, 0, kMainSheetColumns - 1);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                // A drag or a Shift+click moves Qt's current cell to the selection's end; the
                // sheet's current cell stays the anchor.
                if (!current.isValid() || !grid_->trackingCurrent() || movingToPoint_) return;
                const SheetCell left = current_;
                current_ = {current.row() + 1, current.column()};
                currentCellMoved(left, current_);
            });
}

FormMainSheet::~FormMainSheet() {
    // The contents go before the widgets (members before the base): the grid must not ask them
    // while it is hidden and destroyed.
    grid_->setSource(nullptr);
}

DataGrid* FormMainSheet::grid() const { return grid_; }

bool FormMainSheet::fill() {
    WaitCursor busy;
    rules_.setCellEventsOn(false);
    const bool filled = sheet_.refill();
    if (!filled) {
        if (services_.prompter) services_.prompter->message(kNoDataMessage, platform::Buttons::Ok);
        rules_.setCellEventsOn(true);
        return false;
    }
    const auto stored = readSheetColumnWidths(job_.IniFilePath);
    for (int column = 0; column < kMainSheetColumns; ++column)
        widths_->setStoredTwips(column, stored[static_cast<std::size_t>(column)]);
    sorted_.resort();  // the remembered sort, on the new contents
    grid_->gridModel().reset();
    widths_->apply();
    // The current cell ends in the last row: in column 0, or in the sort column after a re-sort.
    const int column = rules_.sortOrder() == SheetSortOrder::None ? 0 : rules_.sortColumn();
    grid_->setCurrentCell(sheet_.rowCount() - 1, column);
    rules_.setCellEventsOn(true);
    return true;
}

std::vector<IniEntry> FormMainSheet::columnWidthEntries() const {
    std::vector<IniEntry> entries;
    if (!sheet_.filled()) return entries;
    for (int column = 0; column < kMainSheetColumns; ++column)
        if (widths_->chosen(column))
            entries.push_back({"Cols", "Col_" + std::to_string(column), widths_->twips(column)});
    return entries;
}

int FormMainSheet::rowOfName(const std::string& name) const {
    const auto row = sheet_.rowOfName(name);
    return row ? sorted_.rowOfBaseRow(*row) : -1;
}

int FormMainSheet::goToPoint(const std::string& name) {
    const int row = rowOfName(name);
    if (row < 0) return 0;
    const int columns = grid_->gridModel().columnCount();
    const QModelIndex current = grid_->currentIndex();
    // One column to the right, so that the move is a change even on the current row.
    int column = current.isValid() ? current.column() + 1 : 1;
    if (column >= columns) column = columns > 1 ? columns - 2 : 0;
    const QModelIndex target = grid_->gridModel().index(row, column);
    {
        const FlagGuard quiet(movingToPoint_, true);
        grid_->setCurrentIndex(target);
    }
    const SheetCell left = current_;
    current_ = {row + 1, column};
    currentCellMoved(left, current_);
    grid_->scrollTo(target, QAbstractItemView::PositionAtCenter);
    return row + 1;
}

void FormMainSheet::currentCellMoved(SheetCell left, SheetCell entered) {
    if (!rules_.cellEventsOn()) return;
    rules_.leaveCell(left);
    rules_.enterCell(entered);
    const auto change = rules_.rowChange();
    if (!change) return;
    rules_.setCellEventsOn(false);
    const int baseRow = sorted_.baseRow(change->highlightRow - 1);
    sheet_.setHighlightedRow(baseRow >= 0 ? std::optional<std::int32_t>(baseRow) : std::nullopt);
    grid_->gridModel().refresh();
    emit rowLeftShown(QString::fromStdString(change->panelText));
    if (baseRow >= 0) emit currentPointChanged(QString::fromStdString(sheet_.text(baseRow, 0)));
    rules_.setCellEventsOn(true);
}

void FormMainSheet::clickTitle(int column) {
    if (column < 0 || column >= grid_->gridModel().columnCount()) return;
    rules_.setCellEventsOn(false);
    sheet_.setHighlightedRow(std::nullopt);
    const QModelIndex current = grid_->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    const SheetSortOrder order = rules_.headerClicked(column);
    sorted_.sortBy(column,
                   order == SheetSortOrder::Descending ? SortOrder::Descending : SortOrder::Ascending);
    grid_->gridModel().refresh();
    grid_->setCurrentCell(row, column);
    rules_.setCellEventsOn(true);
}

SheetSelection FormMainSheet::selection() const {
    const GridRange range = grid_->selectedRange();
    if (range.empty()) {
        return {current_, current_};
    }
    // The anchor is the current cell; the second corner the opposite one of the block.
    SheetCell anchor = current_;
    const bool inside = anchor.row - 1 >= range.firstRow && anchor.row - 1 <= range.lastRow &&
                        anchor.column >= range.firstColumn && anchor.column <= range.lastColumn;
    if (!inside) anchor = {range.firstRow + 1, range.firstColumn};
    const SheetCell corner{anchor.row - 1 == range.firstRow ? range.lastRow + 1 : range.firstRow + 1,
                           anchor.column == range.firstColumn ? range.lastColumn : range.firstColumn};
    return {anchor, corner};
}

void FormMainSheet::copySelection() {
    const std::string text = sheetCopyText(sorted_, selection(), job_.TabelHeadMainSheet);
    job_.ClipboardText = text;
    if (services_.clipboard) {
        services_.clipboard->clear();
        services_.clipboard->setText(text);
    }
}

void FormMainSheet::rightButtonSelection(const QPoint& globalPos) {
    rules_.setCellEventsOn(false);
    {
        WaitCursor busy;
        const SheetSelection s = selection();
        job_.AuswahlPkt = sheetSelectionValues(
            sorted_,
            [this](std::int32_t row, std::int32_t column) -> std::optional<double> {
                const std::int32_t base = sorted_.baseRow(row);
                return base >= 0 ? sheet_.value(base, column) : std::nullopt;
            },
            s);
        job_.AnzAuswahl = static_cast<std::int32_t>(job_.AuswahlPkt.size());
        job_.ClipboardText = sheetRowsText(sorted_, s, job_.TabelHeadMainSheet);
    }
    rules_.setCellEventsOn(true);
    emit contextMenuRequested(globalPos);
}

void FormMainSheet::layoutGrid() {
    // The outer window: the MDI frame around this form when it has one.
    const QWidget* outer = qobject_cast<const QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
    const auto size = sheetGridSizeFor(pixelsToTwips(outer->width(), logicalDpiX()),
                                       pixelsToTwips(outer->height(), logicalDpiY()));
    if (!size) return;
    grid_->setGeometry(0, 0, std::max(0, twipsToPixels(size->width, logicalDpiX())),
                       std::max(0, twipsToPixels(size->height, logicalDpiY())));
}

void FormMainSheet::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    layoutGrid();
}

void FormMainSheet::closeEvent(QCloseEvent* e) {
    e->accept();
    if (closing_) return;
    closing_ = true;
    emit closed();
}

}  // namespace kal
