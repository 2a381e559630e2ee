#include "calculation/PointTableSource.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <utility>

#include "calculation/SeedValues.h"
#include "shared/NumberText.h"

namespace kal {
namespace {

const std::array<const char*, kPointTableColumns> kHeaders = {"",      "Pt.ID", "dev.x", "dev.y", "dev.z",
                                                              "use.x", "use.y", "use.z", ""};

double at(const TaggedArray& values, std::int32_t i, bool& ok) {
    if (i < 0 || i > values.upper()) {
        ok = false;
        return 0.0;
    }
    return values[i];
}

double at(const std::vector<double>& values, std::int32_t i, bool& ok) {
    if (i < 0 || static_cast<std::size_t>(i) >= values.size()) {
        ok = false;
        return 0.0;
    }
    return values[static_cast<std::size_t>(i)];
}

std::size_t flagIndex(std::int32_t point, int component) {
    return static_cast<std::size_t>(3 * (static_cast<std::int64_t>(point) - 1) + component);
}

void setSeed(JobState& job, int k, std::int32_t point) {
    job.SeedPointNames[static_cast<std::size_t>(k)] = job.MCS_Name[static_cast<std::size_t>(point)];
    job.SeedPointIndex[static_cast<std::size_t>(k)] = point;
}

bool hasName(const JobState& job, std::int32_t point) {
    return point >= 1 && static_cast<std::size_t>(point) < job.MCS_Name.size();
}

void defaultSeeds(JobState& job) {
    const std::int32_t n = job.IdenticalCount;
    if (n >= 1 && hasName(job, 1)) setSeed(job, 1, 1);
    if (n >= 2 && hasName(job, 2)) setSeed(job, 2, 2);
    if (n > 2 && hasName(job, 3)) setSeed(job, 3, 3);
}

}  // namespace

void PointTableSource::refresh() { rows_ = shown_ ? std::max(job_.IdenticalCount, 0) : 0; }

std::string PointTableSource::headerText(std::int32_t column) const {
    return column >= 0 && column < kPointTableColumns ? kHeaders[static_cast<std::size_t>(column)] : "";
}

bool PointTableSource::residual(std::int32_t point, int component, double& value) const {
    if (!hasPoint(point)) return false;
    bool ok = true;
    double transformed = 0.0, observed = 0.0;
    switch (component) {
        case 1:
            transformed = at(job_.MCSt_X, point, ok);
            observed = at(job_.OCS_X, point, ok);
            break;
        case 2:
            transformed = at(job_.MCSt_Y, point, ok);
            observed = at(job_.OCS_Y, point, ok);
            break;
        default:
            transformed = at(job_.MCSt_Z, point, ok);
            observed = at(job_.OCS_Z, point, ok);
            break;
    }
    value = (transformed - observed) * job_.LengthFactor;
    return ok && std::isfinite(value);
}

std::string PointTableSource::text(std::int32_t row, std::int32_t column) const {
    const std::int32_t point = pointOfRow(row);
    if (!hasPoint(point)) return {};
    if (column == kPointNameColumn)
        return hasName(job_, point) ? job_.MCS_Name[static_cast<std::size_t>(point)] : std::string();
    if (column >= kFirstResidualColumn && column < kFirstUseColumn) {
        double value = 0.0;
        return residual(point, column - kFirstResidualColumn + 1, value)
                   ? residualText(value, job_.LengthFormat)
                   : std::string();
    }
    if (column >= kFirstUseColumn && column < kPointNumberColumn)
        return isUsed(job_, point, column - kFirstUseColumn + 1) ? "X" : "";
    if (column == kPointNumberColumn) return std::to_string(point);
    return {};
}

std::int32_t PointTableSource::longestTextRow(std::int32_t column) const {
    if (column != kPointNameColumn) return -1;
    std::int32_t longest = -1;
    std::size_t length = 0;
    for (std::int32_t row = 0; row < rows_; ++row) {
        const std::int32_t point = pointOfRow(row);
        if (!hasPoint(point) || !hasName(job_, point)) continue;
        const std::size_t n = job_.MCS_Name[static_cast<std::size_t>(point)].size();
        if (longest < 0 || n > length) longest = row, length = n;
    }
    return longest;
}

CellStyle PointTableSource::style(std::int32_t row, std::int32_t column) const {
    CellStyle style;
    if (column >= kPointNameColumn && column < kFirstUseColumn) style.alignment = CellAlignment::Right;
    if (column >= kFirstUseColumn && column < kPointNumberColumn) style.alignment = CellAlignment::Center;
    const std::int32_t point = pointOfRow(row);
    if (!hasPoint(point)) return style;
    if (column == kPointNameColumn && hasName(job_, point) &&
        isSeedPointName(job_, job_.MCS_Name[static_cast<std::size_t>(point)]))
        style.background = kSeedBack;
    if (column >= kFirstResidualColumn && column < kFirstUseColumn)
        style.background = isUsed(job_, point, column - kFirstResidualColumn + 1) ? kUsedBack : kUnusedBack;
    return style;
}

SortKey PointTableSource::sortKey(std::int32_t row, std::int32_t column) const {
    if (column >= kFirstResidualColumn && column < kFirstUseColumn) {
        double value = 0.0;
        if (residual(pointOfRow(row), column - kFirstResidualColumn + 1, value))
            return SortKey::ofNumber(value);
        return SortKey::ofText({});
    }
    return GridSource::sortKey(row, column);
}

std::string residualText(double value, const std::string& lengthFormat) {
    if (!std::isfinite(value)) return {};
    try {
        return formatNumber(value, lengthFormat);
    } catch (const std::exception&) {
        return generalText(value);  // a format the job file brought that the formatter refuses
    }
}

int useComponentOfColumn(std::int32_t column) {
    if (column >= kFirstResidualColumn && column < kFirstUseColumn) return column - kFirstResidualColumn + 1;
    if (column >= kFirstUseColumn && column < kPointNumberColumn) return column - kFirstUseColumn + 1;
    return 0;
}

bool isUsed(const JobState& job, std::int32_t point, int component) {
    if (point < 1 || component < 1 || component > 3) return false;
    const std::size_t index = flagIndex(point, component);
    return index < job.UseFlags.size() && job.UseFlags[index] == 1;
}

int toggleUseFlag(JobState& job, std::int32_t point, int component, bool rDistMode) {
    if (point < 1 || point > job.IdenticalCount || component < 1 || component > 3) return -1;
    if (flagIndex(point, 3) >= job.UseFlags.size()) return -1;
    const std::int16_t value = isUsed(job, point, component) ? 0 : 1;
    if (rDistMode) {
        for (int c = 1; c <= 3; ++c) job.UseFlags[flagIndex(point, c)] = value;
    } else {
        job.UseFlags[flagIndex(point, component)] = value;
    }
    job.JobDirty = true;
    return value;
}

bool chooseSeedPoint(JobState& job, std::int32_t point) {
    if (point < 1 || point > job.IdenticalCount || !hasName(job, point)) return false;
    const std::string& name = job.MCS_Name[static_cast<std::size_t>(point)];
    for (int k = 1; k <= 3; ++k)
        if (name == job.SeedPointNames[static_cast<std::size_t>(k)]) return false;
    job.SeedPointNames[3] = job.SeedPointNames[2];
    job.SeedPointIndex[3] = job.SeedPointIndex[2];
    job.SeedPointNames[2] = job.SeedPointNames[1];
    job.SeedPointIndex[2] = job.SeedPointIndex[1];
    setSeed(job, 1, point);
    job.JobDirty = true;  // the seeds are kept with the job
    return true;
}

bool checkSeedPoints(JobState& job) {
    const auto before = std::make_pair(job.SeedPointNames, job.SeedPointIndex);
    const std::int32_t n =
        std::min<std::int32_t>(job.IdenticalCount, static_cast<std::int32_t>(job.MCS_Name.size()) - 1);
    bool lost = false;
    if (!job.SeedPointNames[1].empty()) {
        for (std::size_t k = 1; k <= 3 && !lost; ++k) {
            const std::string& name = job.SeedPointNames[k];
            if (name.empty()) continue;  // a seed never set (the third with two points)
            const std::int32_t index = job.SeedPointIndex[k];
            if (index >= 1 && index <= n && job.MCS_Name[static_cast<std::size_t>(index)] == name) continue;
            std::int32_t found = 0;
            for (std::int32_t i = 1; i <= n && found == 0; ++i)
                if (job.MCS_Name[static_cast<std::size_t>(i)] == name) found = i;
            if (found == 0)
                lost = true;
            else
                job.SeedPointIndex[k] = found;
        }
    }
    if (lost) {
        job.SeedPointNames.fill(std::string());
        job.SeedPointIndex.fill(0);
    }
    if (job.SeedPointNames[1].empty()) defaultSeeds(job);
    return std::make_pair(job.SeedPointNames, job.SeedPointIndex) != before;
}

}  // namespace kal
