#pragma once
// What a grid would cut: the cells and titles whose text is wider than the room the style leaves
// for it (the view then elides it, "-399.5…"). The room is asked of the style, as the view asks
// it when it paints, not computed the way the grid fits its columns.
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <string>
#include <vector>

#include "shared/ui/DataGrid.h"

namespace kal::testing {

// Whether the cell's text is wider than the room the style leaves for it.
inline bool cellTextCut(const DataGrid& grid, int row, int column) {
    const QModelIndex index = grid.model()->index(row, column);
    QStyleOptionViewItem option;
    option.initFrom(grid.viewport());
    option.widget = &grid;
    option.font = grid.font();
    if (const QVariant font = index.data(Qt::FontRole); font.isValid())
        option.font = font.value<QFont>().resolve(grid.font());
    option.fontMetrics = QFontMetrics(option.font);
    option.text = index.data().toString();
    option.features = QStyleOptionViewItem::HasDisplay;
    option.displayAlignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    option.rect = grid.visualRect(index);
    // The style draws the text inside this rectangle less a focus-frame margin and one
    // pixel on either side.
    const QRect room = grid.style()->subElementRect(QStyle::SE_ItemViewItemText, &option, &grid);
    const int margin = grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
    return option.fontMetrics.horizontalAdvance(option.text) > room.width() - 2 * margin;
}

// "row,column: text" for every cell of the visible columns whose text does not fit.
inline std::vector<std::string> cutCellTexts(const DataGrid& grid) {
    std::vector<std::string> cut;
    const QAbstractItemModel* model = grid.model();
    for (int column = 0; column < model->columnCount(); ++column) {
        if (grid.isColumnHidden(column)) continue;
        for (int row = 0; row < model->rowCount(); ++row) {
            if (cellTextCut(grid, row, column))
                cut.push_back(std::to_string(row) + "," + std::to_string(column) + ": " +
                              model->index(row, column).data().toString().toStdString());
        }
    }
    return cut;
}

// The titles of the visible columns that do not fit their sections (text and the header's margins).
inline std::vector<std::string> cutTitles(const DataGrid& grid) {
    std::vector<std::string> cut;
    const QHeaderView* header = grid.horizontalHeader();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int column = 0; column < grid.model()->columnCount(); ++column) {
        if (grid.isColumnHidden(column)) continue;
        const QString title = grid.model()->headerData(column, Qt::Horizontal).toString();
        if (header->fontMetrics().horizontalAdvance(title) + 2 * margin > header->sectionSize(column))
            cut.push_back(std::to_string(column) + ": " + title.toStdString());
    }
    return cut;
}

}  // namespace kal::testing
