#include "shared/ui/GridColumnWidths.h"

#include <QHeaderView>
#include <algorithm>

#include "shared/WindowPos.h"
#include "shared/ui/DataGrid.h"

namespace kal {

GridColumnWidths::GridColumnWidths(DataGrid& grid, int firstColumn, int lastColumn)
    : QObject(&grid),
      grid_(grid),
      first_(firstColumn),
      columns_(static_cast<std::size_t>(std::max(0, lastColumn - firstColumn + 1))) {
    connect(&grid.gridModel(), &QAbstractItemModel::modelAboutToBeReset, this, [this] { resetting_ = true; });
    connect(&grid.gridModel(), &QAbstractItemModel::modelReset, this, [this] { resetting_ = false; });
    connect(grid.horizontalHeader(), &QHeaderView::sectionResized, this, &GridColumnWidths::sectionResized);
}

GridColumnWidths::Column* GridColumnWidths::managed(int column) {
    const int i = column - first_;
    return i >= 0 && i < static_cast<int>(columns_.size()) ? &columns_[static_cast<std::size_t>(i)] : nullptr;
}

const GridColumnWidths::Column* GridColumnWidths::managed(int column) const {
    return const_cast<GridColumnWidths*>(this)->managed(column);
}

void GridColumnWidths::setStoredTwips(int column, std::optional<int> twips) {
    if (Column* c = managed(column)) c->stored = twips;
}

void GridColumnWidths::apply() {
    const double dpi = grid_.logicalDpiX();
    applying_ = true;
    const int count = grid_.gridModel().columnCount();
    for (int column = first_; column < first_ + static_cast<int>(columns_.size()) && column < count;
         ++column) {
        Column& c = *managed(column);
        int pixels = 0;
        if (c.user || c.stored) {
            pixels = twipsToPixels(*(c.user ? c.user : c.stored), dpi);
        } else {
            pixels = grid_.fittedColumnWidth(column);
            c.fitted = static_cast<int>(pixelsToTwips(pixels, dpi));
        }
        grid_.setColumnWidth(column, pixels);
    }
    applying_ = false;
}

int GridColumnWidths::twips(int column) const {
    const Column* c = managed(column);
    if (c && c->user) return *c->user;
    if (c && c->stored) return *c->stored;
    if (c && c->fitted) return *c->fitted;
    return static_cast<int>(pixelsToTwips(grid_.columnWidth(column), grid_.logicalDpiX()));
}

bool GridColumnWidths::userSet(int column) const {
    const Column* c = managed(column);
    return c && c->user;
}

bool GridColumnWidths::chosen(int column) const {
    const Column* c = managed(column);
    return c && (c->user || c->stored);
}

void GridColumnWidths::sectionResized(int column, int oldPixels, int newPixels) {
    // Hiding and showing a column passes through width 0; neither is a width the user chose.
    if (applying_ || resetting_ || oldPixels == 0 || newPixels == 0) return;
    if (Column* c = managed(column))
        c->user = static_cast<int>(pixelsToTwips(newPixels, grid_.logicalDpiX()));
}

}  // namespace kal
