#include "shared/GridSource.h"

#include <algorithm>
#include <vector>

namespace kal {

std::string GridSource::copyText(const GridRange& range) const {
    const std::int32_t firstRow = std::max(range.firstRow, 0);
    const std::int32_t lastRow = std::min(range.lastRow, rowCount() - 1);
    const std::int32_t firstColumn = std::max(range.firstColumn, 0);
    const std::int32_t lastColumn = std::min(range.lastColumn, columnCount() - 1);
    std::vector<std::int32_t> columns;
    for (std::int32_t column = firstColumn; column <= lastColumn; ++column)
        if (!columnHidden(column)) columns.push_back(column);
    if (firstRow > lastRow || columns.empty()) return {};

    std::string out;
    for (std::int32_t row = firstRow; row <= lastRow; ++row) {
        if (row > firstRow) out += "\r\n";
        for (std::size_t k = 0; k < columns.size(); ++k) {
            if (k > 0) out += '\t';
            out += text(row, columns[k]);
        }
    }
    return out;
}

}  // namespace kal
