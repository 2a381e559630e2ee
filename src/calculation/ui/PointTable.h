#pragma once
// The point table of the calculation window (object name "Tabelle"): one row per identical point
// with its residuals and use flags, on the program's data grid. The user leaves observations out
// and takes them back in (double click or space bar on a residual or use cell), chooses seed points
// (double click on a name), sorts by a header click (names and residuals), copies (Ctrl+C, or a
// right click that hands the block and its values to the Edit menu) and selects a point for the
// other windows.
//
// The cells are computed from the job as they are painted (PointTableSource) and shown through a
// sorted row permutation, so a refill after every calculation costs a sort, not a rewrite of every
// cell, and keeps the user's sort and scroll position. The table refills itself when the job's
// points, use flags, units or results change.
#include <QPoint>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "calculation/PointTableSource.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shared/SortedGridSource.h"
#include "shared/ui/DataGrid.h"

namespace kal {

class PointTable : public DataGrid {
    Q_OBJECT
  public:
    PointTable(JobState& job, JobEvents& events, QWidget* parent = nullptr);  // objectName "Tabelle"
    ~PointTable() override;

    // Refills the table from the job: seeds checked, rows taken anew, sorted again by the last
    // header click, scroll position kept (TabelleFüllenNeu).
    void refill();
    // Every observation takes part again (BtnUseAllPts_Click).
    void useAllPoints();
    // Toggles the use flag of `component` (0 x, 1 y, 2 z) of the point named `pointName`, as a
    // double click on its use cell does; a name the table does not hold does nothing (Switch_MaxPoint).
    void switchMaxPoint(int component, const std::string& pointName);
    // "Deviation": while off the table shows its header only (CheckDeviation_Click).
    void setDeviationShown(bool shown);

    // Toggles the selected cells and handles a name as a seed choice, as a double click does.
    void toggleSelection();
    // The header click on `column` (Tabelle_Click on the header row): columns 1 to 4 sort, every
    // further click on them reverses the order.
    void headerClicked(int column);

    // Whether a toggle works in the R Dist mode (all three flags of a point at once). Asked at each
    // toggle; without it the mode is decided from the job with the R Dist box unticked.
    void setRDistModeQuery(std::function<bool()> query) { rDistMode_ = std::move(query); }

    // The point shown in a table row (its number in the hidden column), 0 for none.
    std::int32_t pointOfRow(int row) const;
    // The table row showing the point named `name` (first from the top), -1 for none.
    int rowOfName(const std::string& name) const;

    // What the last copy or right click left for the Edit menu: the text (ClipboardText) and the
    // values of the selected rows in the current column (AuswahlPkt 0..AnzAuswahl-1).
    const std::string& clipboardText() const { return clipboardText_; }
    const std::vector<double>& selectedValues() const { return selectedValues_; }

    int sortDirection() const { return sortDirection_; }  // SortRichtung: 0 none, 1 up, 2 down
    int sortColumn() const { return sortColumn_; }        // SortSpalte

  signals:
    // refill() has put the job's rows in (after the table's own model signals).
    void refilled();
    // AutoRecalc is on and a change of flags or seeds wants a new calculation.
    void recalculationRequested();
    // A point's name became the current cell.
    void pointSelected(const QString& name);
    // A right click on a name or residual: the Edit menu is to pop up there.
    void contextMenuRequested(const QPoint& globalPos);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void afterToggles();
    void rightClick(const QPoint& globalPos);
    bool rDistMode() const;
    void announceCurrentPoint();

    JobState& job_;
    JobEvents& events_;
    PointTableSource source_;
    SortedGridSource sorted_;
    std::function<bool()> rDistMode_;
    int sortDirection_ = 0, sortColumn_ = 0;
    std::string clipboardText_;
    std::vector<double> selectedValues_;
    bool publishing_ = false;
    std::vector<Subscription> subscriptions_;
};

}  // namespace kal
