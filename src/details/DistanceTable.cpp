#include "details/DistanceTable.h"

#include <cmath>

#include "shared/NumberText.h"

namespace kal {

std::int32_t DistanceTable::rowCount() const {
    return analysis_ ? static_cast<std::int32_t>(analysis_->rows.size()) : 0;
}

std::string DistanceTable::headerText(std::int32_t column) const {
    return kDistanceTableTitles.at(static_cast<std::size_t>(column));
}

std::string DistanceTable::name(std::int32_t point) const {
    if (point < 1 || point > analysis_->points.count()) return std::string();
    return analysis_->points.names[static_cast<std::size_t>(point - 1)];
}

// A value that is not finite (an overflowing ratio) or a format that cannot be applied shows as an
// empty cell, never as "NaN" or "inf".
std::string DistanceTable::length(double millimetres) const {
    const double shown = millimetres * job_.LengthFactor;
    if (!std::isfinite(shown)) return std::string();
    try {
        return formatNumber(shown, job_.LengthFormat);
    } catch (const std::exception&) {
        return std::string();
    }
}

std::string DistanceTable::scale(double value) const {
    if (!std::isfinite(value)) return std::string();
    try {
        return formatNumber(value, job_.ScaleFormat);
    } catch (const std::exception&) {
        return std::string();
    }
}

std::string DistanceTable::text(std::int32_t row, std::int32_t column) const {
    const DistanceRow& r = analysis_->rows.at(static_cast<std::size_t>(row));
    if (column == 0) return name(row + 1);
    if (!r.hasPairs) return std::string();
    switch (column) {
        case 1:
            return length(r.maxDeltaS);
        case 2:
            return name(r.maxDeltaSAt);
        case 3:
            return length(r.minDeltaS);
        case 4:
            return name(r.minDeltaSAt);
        case 5:
            return scale(r.maxScale);
        case 6:
            return name(r.maxScaleAt);
        case 7:
            return scale(r.minScale);
        case 8:
            return name(r.minScaleAt);
        case 9:
            return length(r.meanAbsDeltaS);
        case 10:
            return scale(r.meanScale);
        default:
            return std::string();
    }
}

}  // namespace kal
