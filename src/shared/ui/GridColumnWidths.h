#pragma once
// The widths of a grid's columns first..last, in twips as the settings file keeps them, by one
// rule for every table window: a width the user set (a drag of a column border) wins and is kept
// through refills and model resets; next a width stored in the settings file; a column with
// neither is as wide as its header and its widest text (DataGrid::fittedColumnWidth), measured
// at each apply(), so a refill with longer numbers widens it.
//
// Widths stored in twips come from another machine's fonts and may be too narrow here; the fit
// is measured with this grid's own font. Stored and user widths stay whole twips, so a width read
// from the settings file goes back unchanged.
#include <QObject>
#include <optional>
#include <vector>

namespace kal {

class DataGrid;

class GridColumnWidths : public QObject {
    Q_OBJECT
  public:
    GridColumnWidths(DataGrid& grid, int firstColumn, int lastColumn);

    // The width the settings file holds for `column` (twips), nothing when it holds none.
    void setStoredTwips(int column, std::optional<int> twips);
    // Gives every managed column the grid has its width: the user's, else the stored, else the
    // fitted one.
    void apply();
    // The width of `column` as it stands, in twips: the user's, the stored or the last applied
    // fitted one; the grid's present width before any apply.
    int twips(int column) const;
    // Whether the user set the width of `column` in this window.
    bool userSet(int column) const;
    // Whether `column` has a width of its own to keep: the user's or one from the settings file.
    // A fitted width is measured afresh on every fill and is not stored: stored, it would win over
    // the next job's longer numbers as if the user had chosen it.
    bool chosen(int column) const;

  private:
    struct Column {
        std::optional<int> user, stored;
        std::optional<int> fitted;  // the last apply's, twips
    };
    Column* managed(int column);
    const Column* managed(int column) const;
    void sectionResized(int column, int oldPixels, int newPixels);

    DataGrid& grid_;
    int first_ = 0;
    std::vector<Column> columns_;
    bool applying_ = false;
    bool resetting_ = false;  // a model reset rebuilds the sections: no resize there is the user's
};

}  // namespace kal
