#include "details/TextTable.h"

#include <stdexcept>

namespace kal {

namespace {
constexpr Rgb kCaptionBackground{212, 208, 200};  // the classic button face of fixed grid cells
}

TextTable::TextTable(std::int32_t rows, std::int32_t columns, std::int32_t fixedRows,
                     std::int32_t fixedColumns)
    : fixedRows_(fixedRows), fixedColumns_(fixedColumns) {
    resize(rows, columns);
}

void TextTable::resize(std::int32_t rows, std::int32_t columns) {
    if (rows < 0 || columns < 0) throw std::out_of_range("TextTable: negative size");
    rows_ = rows;
    columns_ = columns;
    texts_.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns), std::string());
    bold_.assign(texts_.size(), 0);
}

void TextTable::setFixed(std::int32_t fixedRows, std::int32_t fixedColumns) {
    fixedRows_ = fixedRows;
    fixedColumns_ = fixedColumns;
}

std::size_t TextTable::index(std::int32_t row, std::int32_t column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= columns_)
        throw std::out_of_range("TextTable: cell (" + std::to_string(row) + ", " + std::to_string(column) +
                                ") outside " + std::to_string(rows_) + " x " + std::to_string(columns_));
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(column);
}

void TextTable::setText(std::int32_t row, std::int32_t column, std::string text) {
    texts_[index(row, column)] = std::move(text);
}

const std::string& TextTable::cell(std::int32_t row, std::int32_t column) const {
    return texts_[index(row, column)];
}

void TextTable::setBold(std::int32_t row, std::int32_t column, bool bold) {
    bold_[index(row, column)] = bold ? 1 : 0;
}

bool TextTable::bold(std::int32_t row, std::int32_t column) const { return bold_[index(row, column)] != 0; }

CellStyle TextTable::style(std::int32_t row, std::int32_t column) const {
    CellStyle s;
    s.bold = bold(row, column);
    if (row < fixedRows_ || column < fixedColumns_)
        s.background = kCaptionBackground;
    else
        s.alignment = CellAlignment::Right;
    return s;
}

}  // namespace kal
