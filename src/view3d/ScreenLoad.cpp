#include "view3d/ScreenLoad.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "view3d/ViewSteps.h"

namespace kal {

void initialiseNewScreen(ScreenModel& screen, StoredColour backColour) {
    ScreenProperties& v = screen.view;
    v.ViewAngles.resize(2, 3);
    v.BlackInitial = false;
    v.ViewAngles(1, 1) = kTopViewFirstAngle;
    v.Massstab = 1;
    v.OffsetX = 0;
    v.OffsetY = 0;
    v.GridLength = 100;
    screen.backColour = backColour;
    v.BigNess = 2;
    v.Faehnchenmode = false;
    v.LineMode = false;
    v.showVeX = v.showVeY = v.showVeZ = true;
    v.ColorBased.clear();
    v.CS_Type = "CART";
    v.AnzKlassenPos = 10;
    v.AnzKlassenNeg = 10;
}

float largestColourBasis(const PointCloud& cloud) {
    float m = 0;
    for (std::int32_t row = 1; row <= cloud.count(); ++row) m = std::max(m, cloud(row, cloud::ColourBasis));
    return m;
}

void setLoadVectorScale(ScreenModel& screen, float largestDeviation, bool trafoCalculated) {
    const ViewArrays& a = screen.arrays;
    const double e =
        ((static_cast<double>(a.ViewMaxY) - a.ViewMinY) + (static_cast<double>(a.ViewMaxX) - a.ViewMinX)) / 2;
    float scale = 400;
    if (trafoCalculated) {
        const auto s = static_cast<float>(e / (largestDeviation + 1E-10) / 500);
        if (s > 0 && std::isfinite(s)) scale = s;
    }
    screen.view.Vec_Massstab = clampedVectorScale(scale);
    screen.view.Max = largestDeviation;
    screen.view.Min = 0;
}

float clampedVectorScale(float scale) {
    if (!(scale > 0) || !std::isfinite(scale)) return 400;
    return std::clamp(scale, kShortestVectorScale, kLongestVectorScale);
}

std::uint64_t pointsStamp(const JobState& job) {
    // FNV-1a over the bytes of every count, name and coordinate.
    std::uint64_t h = 14695981039346656037ull;
    auto bytes = [&h](const void* data, std::size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
    };
    auto number = [&](double v) { bytes(&v, sizeof v); };
    auto text = [&](const std::string& s) {
        const std::uint64_t n = s.size();
        bytes(&n, sizeof n);
        bytes(s.data(), s.size());
    };
    const std::int32_t counts[] = {job.McsCount, job.OcsCount, job.IdenticalCount};
    bytes(counts, sizeof counts);
    for (std::int32_t i = 1; i <= job.McsCount && static_cast<std::size_t>(i) < job.MCS_Name.size(); ++i) {
        text(job.MCS_Name[static_cast<std::size_t>(i)]);
        number(job.MCS_X[i]), number(job.MCS_Y[i]), number(job.MCS_Z.at(static_cast<std::size_t>(i)));
    }
    for (std::int32_t i = 1; i <= job.OcsCount && static_cast<std::size_t>(i) < job.OCS_Name.size(); ++i) {
        text(job.OCS_Name[static_cast<std::size_t>(i)]);
        number(job.OCS_X[i]), number(job.OCS_Y[i]), number(job.OCS_Z.at(static_cast<std::size_t>(i)));
    }
    return h == 0 ? 1 : h;
}

namespace {

constexpr double kShortestVisibleVector = 2;  // pixels

bool hasResiduals(const VectorPicture& picture) {
    return picture.largestDeviation > 0 && std::isfinite(picture.largestDeviation);
}

double largestVectorPixels(float scale, const VectorPicture& picture) {
    return static_cast<double>(picture.largestDeviation) * static_cast<double>(scale);
}

}  // namespace

bool vectorScaleSuits(float scale, const VectorPicture& picture) {
    if (!hasResiduals(picture)) return true;
    const double length = largestVectorPixels(scale, picture);
    const double longest = std::max(picture.width, picture.height);
    return std::isfinite(length) && length >= kShortestVisibleVector && length <= longest;
}

double readableVectorLength(const VectorPicture& picture) {
    // A twentieth of the picture is about the margin a fitted cloud keeps, so the vectors of the
    // outermost points still end inside the picture.
    const double shorter = std::min(picture.width, picture.height);
    return std::max(kShortestVisibleVector, shorter / 20);
}

float recomputedVectorScale(float ownScale, const VectorPicture& picture) {
    if (!hasResiduals(picture)) return clampedVectorScale(ownScale);
    // The load's own figure draws the largest vector 1/500 of the cloud long, which in a window
    // the cloud fills is a pixel or two: it stands only where it draws a readable length.
    const double own = largestVectorPixels(clampedVectorScale(ownScale), picture);
    const double readable = readableVectorLength(picture);
    if (std::isfinite(own) && own >= readable && own <= std::max(picture.width, picture.height))
        return clampedVectorScale(ownScale);
    return clampedVectorScale(static_cast<float>(readable / static_cast<double>(picture.largestDeviation)));
}

void takeDefaultViewRecord(ScreenProperties& view, const ScreenProperties& defaults,
                           std::uint64_t defaultStamp, std::uint64_t windowStamp,
                           const VectorPicture& picture) {
    const float ownScale = view.Vec_Massstab;
    takeDefaultDisplaySettings(view, defaults);
    // A magnification fitted to other residuals (all 0 makes it 10^7) would send these vectors
    // off the window or shrink them to nothing: with other points, and with the same points
    // after a calculation that changed the residuals.
    if (defaultStamp == 0 || defaultStamp != windowStamp || !vectorScaleSuits(view.Vec_Massstab, picture))
        view.Vec_Massstab = recomputedVectorScale(ownScale, picture);
    view.Vec_Massstab = clampedVectorScale(view.Vec_Massstab);
}

std::int32_t gridSpacingForWidth(int surfaceWidth, double massstab) {
    const double x = surfaceWidth / 7.0 / massstab;
    if (!(x > 0) || !std::isfinite(x)) return 1;
    // Log10 as ln x / ln 10: an exact 1000 gives 2.9999999999999996 and so 100, as stored views have it.
    const double power = std::pow(10.0, std::floor(std::log(x) / std::log(10.0)));
    if (power >= std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::nearbyint(power));
}

void setLoadGridSpacing(ScreenModel& screen) {
    const std::int32_t d = gridSpacingForWidth(screen.width, screen.view.Massstab);
    screen.view.ADis = screen.view.BDis = screen.view.Cdis = d;
}

void takeDefaultDisplaySettings(ScreenProperties& v, const ScreenProperties& d) {
    v.VectorMode = d.VectorMode;
    v.BigNess = d.BigNess;
    v.Vec_Massstab = d.Vec_Massstab;
    v.GridLength = d.GridLength;
    v.AnzKlassenPos = d.AnzKlassenPos;
    v.AnzKlassenNeg = d.AnzKlassenNeg;
    v.AusserhalbTol = d.AusserhalbTol;
    v.Min = d.Min;
    v.Max = d.Max;
    v.showVeX = d.showVeX;
    v.showVeY = d.showVeY;
    v.showVeZ = d.showVeZ;
    v.ColorBased = d.ColorBased;
    v.ShowOnlyUsedComponent = d.ShowOnlyUsedComponent;
    v.OuterColor = d.OuterColor;
    v.CS_Type = d.CS_Type;
    v.BinaerModus = d.BinaerModus;
    v.GridXY = d.GridXY;
    v.GridYZ = d.GridYZ;
    v.GridZX = d.GridZX;
    v.ADis = d.ADis;
    v.BDis = d.BDis;
    v.Cdis = d.Cdis;
    v.ShowGridDim = d.ShowGridDim;
}

void sizeNewWindowLines(ScreenProperties& view) {
    const Matrix old = view.Lines;
    view.Lines.resize(2, std::max<std::int32_t>(1, old.cols()));
    for (std::int32_t i = 0; i <= std::min<std::int32_t>(2, old.rows()); ++i)
        for (std::int32_t j = 0; j <= old.cols(); ++j) view.Lines(i, j) = old(i, j);
}

}  // namespace kal
