#include "shared/SortedGridSource.h"

#include <algorithm>
#include <numeric>

namespace kal {

SortedGridSource::SortedGridSource(const GridSource* base) : base_(base) {}

void SortedGridSource::setBase(const GridSource* base) {
    base_ = base;
    if (!base_ || column_ < 0 || column_ >= base_->columnCount() || base_->columnHidden(column_)) {
        column_ = -1;
        order_ = SortOrder::None;
    }
    resort();
}

bool SortedGridSource::sortBy(std::int32_t column, SortOrder order) {
    if (order == SortOrder::None) {
        column_ = -1;
        order_ = SortOrder::None;
        resort();
        return true;
    }
    if (!base_ || column < 0 || column >= base_->columnCount() || base_->columnHidden(column)) return false;
    column_ = column;
    order_ = order;
    resort();
    return true;
}

void SortedGridSource::resort() {
    toBase_.clear();
    fromBase_.clear();
    if (!base_ || !sorted()) {
        toBase_.shrink_to_fit();
        fromBase_.shrink_to_fit();
        return;
    }
    const std::int32_t rows = base_->rowCount();
    std::vector<SortKey> keys;
    keys.reserve(static_cast<std::size_t>(rows));
    for (std::int32_t row = 0; row < rows; ++row) keys.push_back(base_->sortKey(row, column_));

    toBase_.resize(static_cast<std::size_t>(rows));
    std::iota(toBase_.begin(), toBase_.end(), 0);
    const auto key = [&](std::int32_t row) -> const SortKey& { return keys[static_cast<std::size_t>(row)]; };
    if (order_ == SortOrder::Ascending)
        std::stable_sort(toBase_.begin(), toBase_.end(),
                         [&](std::int32_t a, std::int32_t b) { return compareSortKeys(key(a), key(b)) < 0; });
    else
        std::stable_sort(toBase_.begin(), toBase_.end(),
                         [&](std::int32_t a, std::int32_t b) { return compareSortKeys(key(b), key(a)) < 0; });

    fromBase_.resize(toBase_.size());
    for (std::size_t row = 0; row < toBase_.size(); ++row)
        fromBase_[static_cast<std::size_t>(toBase_[row])] = static_cast<std::int32_t>(row);
}

std::int32_t SortedGridSource::mapped(std::int32_t row) const {
    if (!base_ || row < 0) return -1;
    std::int32_t target = row;
    if (sorted()) {
        if (static_cast<std::size_t>(row) >= toBase_.size()) return -1;
        target = toBase_[static_cast<std::size_t>(row)];
    }
    return target < base_->rowCount() ? target : -1;
}

std::int32_t SortedGridSource::baseRow(std::int32_t row) const { return mapped(row); }

std::int32_t SortedGridSource::rowOfBaseRow(std::int32_t baseRow) const {
    if (!base_ || baseRow < 0) return -1;
    if (!sorted()) return baseRow < base_->rowCount() ? baseRow : -1;
    if (static_cast<std::size_t>(baseRow) >= fromBase_.size()) return -1;
    return fromBase_[static_cast<std::size_t>(baseRow)];
}

std::int32_t SortedGridSource::rowCount() const {
    if (!base_) return 0;
    return sorted() ? static_cast<std::int32_t>(toBase_.size()) : base_->rowCount();
}

std::int32_t SortedGridSource::columnCount() const { return base_ ? base_->columnCount() : 0; }

std::string SortedGridSource::headerText(std::int32_t column) const {
    return base_ ? base_->headerText(column) : std::string();
}

std::string SortedGridSource::text(std::int32_t row, std::int32_t column) const {
    const std::int32_t target = mapped(row);
    return target < 0 ? std::string() : base_->text(target, column);
}

CellStyle SortedGridSource::style(std::int32_t row, std::int32_t column) const {
    const std::int32_t target = mapped(row);
    return target < 0 ? CellStyle{} : base_->style(target, column);
}

bool SortedGridSource::columnHidden(std::int32_t column) const {
    return base_ && base_->columnHidden(column);
}

SortKey SortedGridSource::sortKey(std::int32_t row, std::int32_t column) const {
    const std::int32_t target = mapped(row);
    return target < 0 ? SortKey::ofText({}) : base_->sortKey(target, column);
}

}  // namespace kal
