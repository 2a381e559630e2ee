#pragma once
// The table control of the program's windows: a QTableView over a GridModel, set up so that its
// cost does not grow with the number of rows. Rows have one fixed height (the view never measures
// a row), columns keep the width they are given (never resized to their contents by the view, which
// would read every row; fittedColumnWidth reads a bounded sample), texts stay on one line. The selection is
// one block of cells, as the windows copy it: from the current cell to the selection end, which moves with
// the current cell when that is set.
#include <QTableView>
#include <string>

#include "shared/GridSource.h"
#include "shared/ui/GridModel.h"

namespace kal {

class DataGrid : public QTableView {
    Q_OBJECT
  public:
    explicit DataGrid(QWidget* parent = nullptr);

    // Shows `source` (null: an empty grid); the source must outlive the grid or be replaced first.
    void setSource(const GridSource* source);
    GridModel& gridModel() { return model_; }

    // The width in pixels that shows `column` uncut: its header text (with the header's margins)
    // and the widest of its cells' texts in the grid's font (bold where a cell is), with the
    // cell's text margins, the grid line and a little air. The cells measured are all rows of a
    // table of up to kFittedRows rows, else kFittedRows rows spread evenly over the table (the
    // first and the last included) and the row the source knows holds the column's longest text,
    // so the cost stays bounded however long the table is.
    int fittedColumnWidth(int column) const;
    static constexpr int kFittedRows = 2000;

    // The height of every row, in pixels.
    void setFixedRowHeight(int pixels);
    int fixedRowHeight() const;

    // The block spanned by the selection (its bounding block); empty when nothing is selected.
    GridRange selectedRange() const;
    // The source's copy text of that block: Tab between cells, CR LF between rows.
    std::string selectedText() const;
    // The block with an end after every cell (Tab) and every row (CR LF).
    std::string selectedTextWithEnds() const;
    // Puts selectedText() on the clipboard and announces it (copied); Ctrl+C and Ctrl+Insert do
    // the same.
    void copySelection();

    // The current cell becomes (row, column) and the selection that one cell.
    void setCurrentCell(int row, int column);
    // Selects the block from the current cell (row, column) to the selection end; the corners may
    // be given in any order.
    void selectBlock(int row, int column, int endRow, int endColumn);

  signals:
    // The text copySelection() put on the clipboard.
    void copied(const QString& text);

  protected:
    // Ctrl+C belongs to the grid that has the focus: it copies the grid's selection, not the
    // main window's prepared text (the Edit menu's shortcut is the same key).
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void showHiddenColumns();

    GridModel model_;
};

}  // namespace kal
