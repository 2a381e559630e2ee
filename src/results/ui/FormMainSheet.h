#pragma once
// The main sheet window ("Main Sheet - Data in ... - OCS System"): one grid, MSFlexGrid1, over the
// main sheet's contents (results/MainSheet), sorted by a click on a column title. The window tracks
// its current cell and highlights that row, copies a selection with Ctrl+C, prepares the Edit
// menu's "Copy" and "Graph Data" with the right button, and keeps its column widths (twips,
// "Cols" keys "Col_0".."Col_22"; a column without a stored width fits its title and texts). Its rules live in
// MainSheetWindowModel; the window applies them.
//
// What the window needs of the main window comes as signals: the status bar's panel 3, the point
// the graphics windows mark, the Edit menu's popup, and its closing.
#include <QPoint>
#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "results/MainSheet.h"
#include "results/MainSheetWindowModel.h"
#include "shared/IniFile.h"
#include "shared/JobState.h"
#include "shared/SortedGridSource.h"
#include "shared/ui/DataGrid.h"

namespace kal {

class GridColumnWidths;

class FormMainSheet : public QWidget {
    Q_OBJECT
  public:
    // Uses the prompter (the empty-job message) and the clipboard of `services`.
    FormMainSheet(JobState& job, platform::Services services, QWidget* parent = nullptr);  // "FormMainSheet"
    ~FormMainSheet() override;

    // Rebuilds the sheet from the job (FuellenHaupttabelle): rows, column widths (the user's, else
    // those of the settings file, else fitted to the new contents), the remembered sort; the current cell in
    // the last row, no row highlighted. A job without points only shows "No Data found; Problem in Modul
    // FuellenHaupttabelle" and keeps what the sheet showed. False in that case.
    bool fill();

    DataGrid* grid() const;  // "MSFlexGrid1"
    const MainSheet& sheet() const { return sheet_; }
    const SortedGridSource& shownRows() const { return sorted_; }
    const MainSheetWindowModel& rules() const { return rules_; }

    // The shown row (0-based body row) of a point's name; -1 when the sheet has no such point.
    int rowOfName(const std::string& name) const;
    // Makes the row of a point's name the current row, one column further right, highlights it
    // as a row change does (the graphics windows hear of it) and scrolls it to the middle; the
    // sheet row (1-based, as shown), 0 when the sheet does not list the name (IndexMainSheet).
    int goToPoint(const std::string& name);

    // Widths in twips of the columns that have one of their own (the user's drags, the settings
    // file's); fitted columns are left out so the next fill fits them again. Empty before the
    // first fill that found points, so a sheet that never held its 23 columns writes none.
    std::vector<IniEntry> columnWidthEntries() const;

    // What the handlers do, for callers and tests that do not go through the mouse and keys.
    void clickTitle(int column);                         // a click on the title of `column`
    void copySelection();                                // Ctrl+C
    void rightButtonSelection(const QPoint& globalPos);  // the right button over the grid

  signals:
    void closed();                                       // Form_Unload
    void rowLeftShown(const QString& text);              // main window status panel 3
    void currentPointChanged(const QString& name);       // the point the graphics windows mark
    void contextMenuRequested(const QPoint& globalPos);  // the main window's Edit menu

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    class Grid;
    // The current cell moved (MSFlexGrid1_LeaveCell, _EnterCell, _RowColChange), in sheet rows.
    void currentCellMoved(SheetCell left, SheetCell entered);
    SheetSelection selection() const;
    bool movingToPoint_ = false;  // goToPoint moves the current cell itself
    void layoutGrid();

    JobState& job_;
    platform::Services services_;
    MainSheet sheet_;
    SortedGridSource sorted_;
    MainSheetWindowModel rules_;
    Grid* grid_ = nullptr;
    SheetCell current_;                   // the current cell (the selection's anchor), in sheet rows
    GridColumnWidths* widths_ = nullptr;  // owned by the grid
    bool closing_ = false;
};

}  // namespace kal
