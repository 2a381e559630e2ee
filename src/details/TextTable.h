#pragma once
// A small table of stored texts, the form every table of the details window takes: the window
// computes all of its cells in one go, so a table holds them rather than computing them when the
// grid asks. Rows and columns are 0-based; the first `fixedRows` rows and `fixedColumns` columns
// are caption cells (shown with a caption background). Each cell carries one Boolean emphasis
// (bold), which the Monte Carlo table uses to mark the parameters that were estimated.
#include <cstdint>
#include <string>
#include <vector>

#include "shared/GridSource.h"

namespace kal {

class TextTable : public GridSource {
  public:
    TextTable() = default;
    TextTable(std::int32_t rows, std::int32_t columns, std::int32_t fixedRows = 0,
              std::int32_t fixedColumns = 0);

    // New size with every text empty and every mark off; the fixed counts stay.
    void resize(std::int32_t rows, std::int32_t columns);
    void setFixed(std::int32_t fixedRows, std::int32_t fixedColumns);

    // Out-of-range cells throw std::out_of_range, as a wrong index into a grid is a fault.
    void setText(std::int32_t row, std::int32_t column, std::string text);
    const std::string& cell(std::int32_t row, std::int32_t column) const;
    void setBold(std::int32_t row, std::int32_t column, bool bold);
    bool bold(std::int32_t row, std::int32_t column) const;

    std::int32_t fixedRows() const { return fixedRows_; }
    std::int32_t fixedColumns() const { return fixedColumns_; }

    // GridSource: no header row of its own; caption cells are rows and columns of the table.
    std::int32_t rowCount() const override { return rows_; }
    std::int32_t columnCount() const override { return columns_; }
    std::string headerText(std::int32_t column) const override { return {}; }
    std::string text(std::int32_t row, std::int32_t column) const override { return cell(row, column); }
    CellStyle style(std::int32_t row, std::int32_t column) const override;

  private:
    std::size_t index(std::int32_t row, std::int32_t column) const;

    std::int32_t rows_ = 0, columns_ = 0, fixedRows_ = 0, fixedColumns_ = 0;
    std::vector<std::string> texts_;
    std::vector<char> bold_;
};

}  // namespace kal
