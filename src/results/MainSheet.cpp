#include "results/MainSheet.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "shared/NumberText.h"
#include "shared/Units.h"
#include "shared/Vectors.h"

namespace kal {

namespace {

constexpr double kFoldPi = 3.14159265358979;
constexpr double kFoldTwoPi = 6.28318530717958;

// What a column shows; the row's group decides whether it shows it.
enum class ColumnContent : std::uint8_t { Name, Mcs, Ocs, Deviation, Empty };

constexpr std::array<ColumnContent, kMainSheetColumns> kContent{
    ColumnContent::Name,      ColumnContent::Mcs,       ColumnContent::Mcs,       ColumnContent::Mcs,
    ColumnContent::Ocs,       ColumnContent::Ocs,       ColumnContent::Ocs,       ColumnContent::Deviation,
    ColumnContent::Deviation, ColumnContent::Deviation, ColumnContent::Mcs,       ColumnContent::Mcs,
    ColumnContent::Ocs,       ColumnContent::Ocs,       ColumnContent::Deviation, ColumnContent::Deviation,
    ColumnContent::Mcs,       ColumnContent::Mcs,       ColumnContent::Ocs,       ColumnContent::Ocs,
    ColumnContent::Deviation, ColumnContent::Deviation, ColumnContent::Empty};

}  // namespace

const std::array<const char*, kMainSheetColumns>& mainSheetTitles() {
    static const std::array<const char*, kMainSheetColumns> titles{
        "Point ID",  "MCS.x",         "MCS.y",     "MCS.z",         "OCS.x",     "OCS.y",
        "OCS.z",     "dev.x",         "dev.y",     "dev.z",         "MCS.r.CYL", "MCS.Phi",
        "OCS.r.CYL", "OCS.Phi",       "dev.r.CYL", "dev.Phi",       "MCS.R.SPH", "MCS.Theta.SPH",
        "OCS.R.SPH", "OCS.Theta.SPH", "dev.R.SPH", "dev.Theta.SPH", ""};
    return titles;
}

bool isYellowSheetColumn(std::int32_t column) {
    switch (column) {
        case 4:
        case 5:
        case 6:
        case 10:
        case 11:
        case 14:
        case 15:
        case 18:
        case 19:
            return true;
        default:
            return false;
    }
}

double foldAzimuthDifference(double difference) {
    if (difference > kFoldPi) return difference - kFoldTwoPi;
    if (difference < -kFoldPi) return difference + kFoldTwoPi;
    return difference;
}

bool MainSheet::refill() {
    const std::int32_t identical = std::max(job_.IdenticalCount, 0);
    const std::int32_t mcsOnly = std::max(job_.McsOnlyCount, 0);
    const std::int32_t ocsOnly = std::max(job_.OcsOnlyCount, 0);
    const std::int64_t n = static_cast<std::int64_t>(identical) + mcsOnly + ocsOnly;
    if (n == 0) return false;

    identical_ = identical, mcsOnly_ = mcsOnly, ocsOnly_ = ocsOnly;
    rows_ = static_cast<std::int32_t>(n);
    storedTransformed_ = job_.MCSt_X.upper() >= identical &&
                         job_.MCSt_Y.upper() >= identical &&
                         static_cast<std::int64_t>(job_.MCSt_Z.size()) > identical;
    try {
        transform_.emplace(job_);
    } catch (const std::exception&) {
        transform_.reset();  // a parameter block that is not finite: the MCS columns stay empty
    }
    lengthFactor_ = job_.LengthFactor;
    angleFactor_ = job_.AngleFactor;
    lengthFormat_ = job_.LengthFormat;
    angleFormat_ = job_.AngleFormat;
    angleUnit_ = job_.AngleUnitName;
    phiThetaAsLength_ = job_.PhiThetaAsQ;
    highlighted_.reset();
    names_.reset();
    filled_ = true;
    return true;
}

SheetGroup MainSheet::group(std::int32_t row) const {
    if (row < identical_) return SheetGroup::Identical;
    if (row < identical_ + mcsOnly_) return SheetGroup::McsOnly;
    return SheetGroup::OcsOnly;
}

std::int32_t MainSheet::pointIndex(std::int32_t row) const {
    // MCS-only point j is MCS point identical + j; OCS-only point j is OCS point identical + j.
    if (row < identical_) return row + 1;
    if (row < identical_ + mcsOnly_) return row + 1;
    return row - mcsOnly_ + 1;
}

std::optional<std::int32_t> MainSheet::rowOfName(const std::string& name) const {
    if (!names_) {
        names_.emplace();
        names_->reserve(static_cast<std::size_t>(rows_));
        for (std::int32_t row = 0; row < rows_; ++row) names_->try_emplace(text(row, 0), row);
    }
    auto found = names_->find(name);
    if (found == names_->end()) return std::nullopt;
    return found->second;
}

MainSheet::Point3 MainSheet::transformedMcs(std::int32_t row) const {
    if (group(row) == SheetGroup::OcsOnly) return {};
    const std::int32_t m = pointIndex(row);
    if (group(row) == SheetGroup::Identical && storedTransformed_ && m <= job_.MCSt_X.upper() &&
        m <= job_.MCSt_Y.upper() && static_cast<std::size_t>(m) < job_.MCSt_Z.size())
        return {true, job_.MCSt_X[m], job_.MCSt_Y[m], job_.MCSt_Z[static_cast<std::size_t>(m)]};
    if (!transform_ || m > job_.MCS_X.upper() || m > job_.MCS_Y.upper() ||
        static_cast<std::size_t>(m) >= job_.MCS_Z.size())
        return {};
    Point3 p{true};
    try {
        transform_->apply(job_.MCS_X[m], job_.MCS_Y[m], job_.MCS_Z[static_cast<std::size_t>(m)], p.x, p.y,
                          p.z);
    } catch (const std::exception&) {
        return {};
    }
    return p;
}

MainSheet::Point3 MainSheet::ocsPoint(std::int32_t row) const {
    if (group(row) == SheetGroup::McsOnly) return {};
    const std::int32_t o = pointIndex(row);
    if (o > job_.OCS_X.upper() || o > job_.OCS_Y.upper() || static_cast<std::size_t>(o) >= job_.OCS_Z.size())
        return {};
    return {true, job_.OCS_X[o], job_.OCS_Y[o], job_.OCS_Z[static_cast<std::size_t>(o)]};
}

MainSheet::Quantity MainSheet::quantity(std::int32_t row, std::int32_t column) const {
    if (row < 0 || row >= rows_ || column < 1 || column >= kMainSheetColumns - 1) return {};
    const ColumnContent content = kContent[static_cast<std::size_t>(column)];
    const SheetGroup g = group(row);
    if (content == ColumnContent::Deviation && g != SheetGroup::Identical) return {};
    if (content == ColumnContent::Mcs && g == SheetGroup::OcsOnly) return {};
    if (content == ColumnContent::Ocs && g == SheetGroup::McsOnly) return {};

    Point3 t, o;
    if (content != ColumnContent::Ocs && !(t = transformedMcs(row)).present) return {};
    if (content != ColumnContent::Mcs && !(o = ocsPoint(row)).present) return {};
    const Point3& p = content == ColumnContent::Mcs ? t : o;
    auto length = [](double v) { return Quantity{Kind::Length, v}; };
    auto angle = [](double v) { return Quantity{Kind::Angle, v}; };
    try {
        switch (column) {
            case 1:
            case 4:
                return length(p.x);
            case 2:
            case 5:
                return length(p.y);
            case 3:
            case 6:
                return length(p.z);
            case 7:
                return length(t.x - o.x);
            case 8:
                return length(t.y - o.y);
            case 9:
                return length(t.z - o.z);
            case 10:
            case 12:
                return length(length2d(p.x, p.y));
            case 11:
            case 13:
                return angle(azimuthXY(p.x, p.y));
            case 14:
                return length(length2d(t.x, t.y) - length2d(o.x, o.y));
            case 15: {
                const double dPhi = foldAzimuthDifference(azimuthXY(t.x, t.y) - azimuthXY(o.x, o.y));
                // As a length: the arc across the transformed point's cylinder radius.
                return phiThetaAsLength_ ? length(length2d(t.x, t.y) * dPhi) : angle(dPhi);
            }
            case 16:
            case 18:
                return length(length3d(p.x, p.y, p.z));
            case 17:
            case 19:
                return angle(polarAngle(p.x, p.y, p.z));
            case 20:
                return length(length3d(t.x, t.y, t.z) - length3d(o.x, o.y, o.z));
            case 21: {
                const double dTheta = polarAngle(t.x, t.y, t.z) - polarAngle(o.x, o.y, o.z);  // never folded
                return phiThetaAsLength_ ? length(length3d(t.x, t.y, t.z) * dTheta) : angle(dTheta);
            }
            default:
                return {};
        }
    } catch (const std::exception&) {
        return {};  // a geometry helper met a value that is not finite
    }
}

std::string MainSheet::format(const Quantity& q) const {
    try {
        switch (q.kind) {
            case Kind::Length:
                return formatNumber(q.amount * lengthFactor_, lengthFormat_);
            case Kind::Angle:
                return formatAngle(q.amount, angleFactor_, angleFormat_, angleUnit_, angleFormat_);
            case Kind::None:
                break;
        }
    } catch (const std::exception&) {
    }
    return {};
}

std::optional<double> MainSheet::value(std::int32_t row, std::int32_t column) const {
    const Quantity q = quantity(row, column);
    double v = 0;
    switch (q.kind) {
        case Kind::Length:
            v = q.amount * lengthFactor_;
            break;
        case Kind::Angle:
            v = q.amount * angleFactor_;
            break;
        case Kind::None:
            return std::nullopt;
    }
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

std::string MainSheet::headerText(std::int32_t column) const {
    if (column < 0 || column >= kMainSheetColumns) return {};
    return mainSheetTitles()[static_cast<std::size_t>(column)];
}

std::string MainSheet::text(std::int32_t row, std::int32_t column) const {
    if (row < 0 || row >= rows_) return {};
    if (column == 0) {
        const std::int32_t k = pointIndex(row);
        const auto& names = group(row) == SheetGroup::OcsOnly ? job_.OCS_Name : job_.MCS_Name;
        return static_cast<std::size_t>(k) < names.size() ? names[static_cast<std::size_t>(k)]
                                                          : std::string();
    }
    return format(quantity(row, column));
}

SortKey MainSheet::sortKey(std::int32_t row, std::int32_t column) const {
    if (column == 0) return SortKey::ofCellText(text(row, 0));
    const std::optional<double> v = value(row, column);
    return v ? SortKey::ofNumber(*v) : SortKey::ofText({});
}

CellStyle MainSheet::style(std::int32_t row, std::int32_t column) const {
    CellStyle s;
    if (column == 0) {
        s.alignment = CellAlignment::Right;
        switch (group(row)) {
            case SheetGroup::Identical:
                s.background = kSheetGreen;
                break;
            case SheetGroup::McsOnly:
                s.background = kSheetYellow;
                break;
            case SheetGroup::OcsOnly:
                s.background = kSheetOrange;
                break;
        }
        return s;
    }
    if (highlighted_ && *highlighted_ == row && column < kMainSheetColumns - 1) {
        s.background = kSheetHighlight;
        s.foreground = kSheetHighlightText;
    } else {
        s.background = isYellowSheetColumn(column) ? kSheetYellow : kSheetWhite;
    }
    return s;
}

}  // namespace kal
