#include "view3d/PointCloudBuild.h"

#include <algorithm>
#include <cmath>

namespace kal {

namespace {

// Reads of the job's arrays that stay in bounds when a count runs ahead of its array.
double valueAt(const TaggedArray& a, std::int32_t i) { return i <= a.upper() ? a[i] : 0.0; }
double valueAt(const std::vector<double>& a, std::int32_t i) {
    return static_cast<std::size_t>(i) < a.size() ? a[static_cast<std::size_t>(i)] : 0.0;
}
const std::string& nameAt(const std::vector<std::string>& a, std::int32_t i) {
    static const std::string empty;
    return static_cast<std::size_t>(i) < a.size() ? a[static_cast<std::size_t>(i)] : empty;
}
std::int16_t useFlagAt(const JobState& job, std::int32_t k) {
    return static_cast<std::size_t>(k) < job.UseFlags.size() ? job.UseFlags[static_cast<std::size_t>(k)]
                                                             : std::int16_t{0};
}

struct Deviation {
    double x, y, z;
};
// Transformed MCS point minus OCS point of identical point i.
Deviation deviationOf(const JobState& job, std::int32_t i) {
    return {valueAt(job.MCSt_X, i) - valueAt(job.OCS_X, i), valueAt(job.MCSt_Y, i) - valueAt(job.OCS_Y, i),
            valueAt(job.MCSt_Z, i) - valueAt(job.OCS_Z, i)};
}

}  // namespace

void classifyStandIn(PointCloud& cloud, ScreenProperties&, const JobState& job) {
    const std::int32_t n = std::min(job.IdenticalCount, cloud.count());
    for (std::int32_t i = 1; i <= n; ++i) {
        const Deviation d = deviationOf(job, i);
        cloud(i, cloud::VectorX) = static_cast<float>(d.x);
        cloud(i, cloud::VectorY) = static_cast<float>(d.y);
        cloud(i, cloud::VectorZ) = static_cast<float>(d.z);
        cloud(i, cloud::ColourBasis) = static_cast<float>(std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z));
        cloud(i, cloud::ToleranceClass) = 0.0f;
    }
}

void colourStandIn(PointCloud& cloud, const ScreenProperties&, const JobState&) {
    const auto green = static_cast<float>(storedColour(0, 255, 0));
    for (std::int32_t i = 1; i <= cloud.count(); ++i) cloud(i, cloud::Colour) = green;
}

void classifyCloud(const CloudColouring& colouring, PointCloud& cloud, ScreenProperties& view,
                   const JobState& job) {
    if (colouring.classify)
        colouring.classify(cloud, view, job);
    else
        classifyStandIn(cloud, view, job);
}

void colourCloud(const CloudColouring& colouring, PointCloud& cloud, const ScreenProperties& view,
                 const JobState& job) {
    if (colouring.colour)
        colouring.colour(cloud, view, job);
    else
        colourStandIn(cloud, view, job);
}

std::int32_t cloudRowCount(const JobState& job) {
    const std::int32_t n = std::max(job.IdenticalCount, 0);
    return 2 * n + std::max(job.McsCount - n, 0) + std::max(job.OcsCount - n, 0);
}

std::string cloudRowName(const JobState& job, std::int32_t row) {
    const std::int32_t n = std::max(job.IdenticalCount, 0);
    const std::int32_t mcsOnly = std::max(job.McsCount - n, 0);
    const std::int32_t ocsOnly = std::max(job.OcsCount - n, 0);
    if (row < 1) return std::string();
    if (row <= n) return nameAt(job.OCS_Name, row);
    if (row <= 2 * n) return nameAt(job.OCS_Name, row - n);
    if (row <= 2 * n + mcsOnly) return nameAt(job.MCSt_Name, row - n);
    if (row <= 2 * n + mcsOnly + ocsOnly) return nameAt(job.OCS_Name, row - n - mcsOnly);
    return std::string();
}

void buildPointCloud(PointCloud& cloud, const JobState& job, ScreenProperties& view,
                     const CloudColouring& colouring) {
    const std::int32_t n = std::max(job.IdenticalCount, 0);
    const std::int32_t mcsOnly = std::max(job.McsCount - n, 0);
    const std::int32_t ocsOnly = std::max(job.OcsCount - n, 0);
    const std::int32_t count = 2 * n + mcsOnly + ocsOnly;
    const GraphicsFlagSet& flags = job.GraphicsFlags;

    view.FlagOfPoint.resize(count);
    cloud.reset(count);

    std::int32_t row = 0;
    const auto put = [&](double x, double y, double z, const std::string& name, bool shown) {
        ++row;
        cloud(row, cloud::X) = static_cast<float>(x);
        cloud(row, cloud::Y) = static_cast<float>(y);
        cloud(row, cloud::Z) = static_cast<float>(z);
        cloud.name(row) = name;
        cloud(row, cloud::Shown) = shown ? 1.0f : 0.0f;
        cloud(row, cloud::Visible) = 1.0f;
    };
    // Both sides of an identical point carry the OCS name.
    for (std::int32_t i = 1; i <= n; ++i)
        put(valueAt(job.MCSt_X, i), valueAt(job.MCSt_Y, i), valueAt(job.MCSt_Z, i), nameAt(job.OCS_Name, i),
            flags.ViewAllMCS);
    for (std::int32_t i = 1; i <= n; ++i)
        put(valueAt(job.OCS_X, i), valueAt(job.OCS_Y, i), valueAt(job.OCS_Z, i), nameAt(job.OCS_Name, i),
            flags.ViewAllOCS);
    for (std::int32_t i = n + 1; i <= n + mcsOnly; ++i)
        put(valueAt(job.MCSt_X, i), valueAt(job.MCSt_Y, i), valueAt(job.MCSt_Z, i), nameAt(job.MCSt_Name, i),
            flags.ViewAllonlyMCS);
    for (std::int32_t i = n + 1; i <= n + ocsOnly; ++i)
        put(valueAt(job.OCS_X, i), valueAt(job.OCS_Y, i), valueAt(job.OCS_Z, i), nameAt(job.OCS_Name, i),
            flags.ViewAllonlyOCS);

    classifyCloud(colouring, cloud, view, job);
    colourCloud(colouring, cloud, view, job);

    // Only the MCS side of an identical point answers to the use and tolerance filters; its
    // OCS side follows ViewAllOCS alone.
    for (std::int32_t i = 1; i <= n; ++i) {
        const Deviation d = deviationOf(job, i);
        const auto dx = static_cast<float>(d.x), dy = static_cast<float>(d.y), dz = static_cast<float>(d.z);
        cloud(i, cloud::DeviationX) = dx;
        cloud(i, cloud::DeviationY) = dy;
        cloud(i, cloud::DeviationZ) = dz;
        cloud(i, cloud::ColourBasis) =
            static_cast<float>(std::sqrt(double(dx) * dx + double(dy) * dy + double(dz) * dz));
        const bool anyUsed =
            useFlagAt(job, 3 * i - 2) != 0 || useFlagAt(job, 3 * i - 1) != 0 || useFlagAt(job, 3 * i) != 0;
        if (flags.ViewOnlyIfTrafo && anyUsed) cloud(i, cloud::Shown) = 1.0f;
        if (flags.ViewOnlyIfNotTrafo && !anyUsed) cloud(i, cloud::Shown) = 1.0f;
        const float toleranceClass = cloud(i, cloud::ToleranceClass);
        if (flags.DontViewOOT && (toleranceClass > static_cast<float>(view.AnzKlassenPos) ||
                                  toleranceClass < -static_cast<float>(view.AnzKlassenNeg)))
            cloud(i, cloud::Shown) = 0.0f;
    }
}

}  // namespace kal
