#include "view3d/RedrawPipeline.h"

#include <algorithm>
#include <cmath>

#include "shared/Rotations.h"

namespace kal {

namespace {

// Palette colours of the lines and R vectors.
constexpr StoredColour kLightYellow = storedColour(255, 255, 0);
constexpr StoredColour kLightBlue = storedColour(0, 0, 255);
constexpr StoredColour kRed = storedColour(128, 0, 0);
constexpr StoredColour kYellow = storedColour(128, 128, 0);
constexpr StoredColour kLightGreen = storedColour(0, 255, 0);
constexpr StoredColour kLightMagenta = storedColour(255, 0, 255);

// Nearest integer, halves to even (the rounding mode in force is the default one).
std::int32_t roundEven(double v) {
    if (!(std::fabs(v) < 2.0e9)) return v > 0 ? 2'000'000'000 : -2'000'000'000;
    constexpr double kMagic = 6755399441055744.0;  // 1.5·2^52: the addition rounds, halves to even
    return static_cast<std::int32_t>((v + kMagic) - kMagic);
}

// The name labels go on top of the picture however the redraw ends.
class LabelsOnTop {
  public:
    LabelsOnTop(DisplayList& out, std::vector<TextLabel>& labels) : out_(out), labels_(labels) {}
    ~LabelsOnTop() {
        for (auto& label : labels_) out_.items.emplace_back(std::move(label));
        labels_.clear();
    }
    LabelsOnTop(const LabelsOnTop&) = delete;
    LabelsOnTop& operator=(const LabelsOnTop&) = delete;

  private:
    DisplayList& out_;
    std::vector<TextLabel>& labels_;
};

bool layoutWithinScreen(const ScreenProperties& view, std::int16_t flag) {
    return flag >= 0 && static_cast<std::size_t>(flag) < view.FahneProps.size() &&
           view.FahneProps[static_cast<std::size_t>(flag)].WithinScreen;
}

void drawLines(RedrawContext& ctx, std::int32_t penWidth) {
    const ScreenProperties& view = ctx.view;
    const ViewArrays& a = ctx.arrays;
    const std::int32_t count = ctx.cloud.count();
    const auto valid = [&](double row) { return row >= 1 && row <= count; };
    const auto at = [&](std::int32_t row) {
        return PixelPoint{a.PixelX[static_cast<std::size_t>(row)], a.PixelY[static_cast<std::size_t>(row)]};
    };
    if (ctx.inputs.SetLine && valid(view.LineStartPoint))
        ctx.out.add(Segment{at(view.LineStartPoint),
                            {ctx.inputs.MouseX, ctx.inputs.MouseY},
                            penWidth,
                            ctx.inputs.foreground});
    const Matrix& lines = view.Lines;
    if (lines.rows() < 2) return;
    for (std::int32_t k = 1; k <= lines.cols(); ++k) {
        // The load-time slot (0, 0) and segments kept from a view of another point count
        // have ends that are no row of this cloud.
        if (!valid(lines(1, k)) || !valid(lines(2, k))) continue;
        const auto from = static_cast<std::int32_t>(lines(1, k)), to = static_cast<std::int32_t>(lines(2, k));
        if (k == ctx.inputs.SelectedLine)
            ctx.out.add(Segment{at(from), at(to), 5, kLightYellow});
        else
            ctx.out.add(Segment{at(from), at(to), penWidth, kLightBlue});
    }
}

void drawRVectors(RedrawContext& ctx, std::int32_t penWidth) {
    const JobState& job = ctx.job;
    const PointCloud& cloud = ctx.cloud;
    const ViewArrays& a = ctx.arrays;
    const ViewProjection& p = ctx.projection;
    const std::int32_t n = std::min({job.IdenticalCount, cloud.count(), job.RVec_X.upper(),
                                     job.RVec_Y.upper(), static_cast<std::int32_t>(job.RVec_Z.size()) - 1});
    const auto pixel = [&](double x, double y, double z) {
        const ViewPoint v = p.worldToPixel(x, y, z);
        return PixelPoint{static_cast<float>(v.x), static_cast<float>(v.y)};
    };
    Matrix turn(3, 3);
    for (std::int32_t j = 1; j <= n; ++j) {
        if (cloud(j, cloud::Shown) != 1.0f || cloud(j, cloud::Visible) != 1.0f) continue;
        if (!job.RVec_X.isAssigned(j) || !job.RVec_Y.isAssigned(j)) continue;  // not computed for j
        const double rx = job.RVec_X[j], ry = job.RVec_Y[j], rz = job.RVec_Z[static_cast<std::size_t>(j)];
        if (job.UseAbcMode) {
            // The offset vector in the frame of the OCS point's A, B, C angles.
            if (job.OcsAngles.rows() < j || job.OcsAngles.cols() < 3 || j > job.OCS_X.upper() ||
                j > job.OCS_Y.upper() || static_cast<std::size_t>(j) >= job.OCS_Z.size())
                continue;
            try {
                matFromAnglesXYZ(-job.OcsAngles(j, 3), -job.OcsAngles(j, 2), -job.OcsAngles(j, 1), turn);
            } catch (const std::exception&) {
                continue;
            }
            const double vx = job.Params[kRvecX], vy = job.Params[kRvecY];
            const double p0[3] = {job.OCS_X[j], job.OCS_Y[j], job.OCS_Z[static_cast<std::size_t>(j)]};
            double p1[3], p2[3];
            for (int r = 0; r < 3; ++r) {
                p1[r] = p0[r] + turn(r + 1, 1) * -vx;
                p2[r] = p0[r] + turn(r + 1, 1) * -vx + turn(r + 1, 2) * -vy;
            }
            const PixelPoint q0 = pixel(p0[0], p0[1], p0[2]), q1 = pixel(p1[0], p1[1], p1[2]),
                             q2 = pixel(p2[0], p2[1], p2[2]), q3 = pixel(rx, ry, rz);
            ctx.out.add(Segment{q0, q1, penWidth, kRed});
            ctx.out.add(Segment{q1, q2, penWidth, kYellow});
            ctx.out.add(Segment{q2, q3, penWidth, kLightGreen});
        } else {
            // The difference magnified like the deviation vectors, and at its true length.
            const PixelPoint start{a.PixelX[static_cast<std::size_t>(j)],
                                   a.PixelY[static_cast<std::size_t>(j)]};
            const PixelPoint end = pixel(rx, ry, rz);
            const float scale = ctx.view.Vec_Massstab;
            ctx.out.add(Segment{start,
                                {start.x + scale * (end.x - start.x), start.y + scale * (end.y - start.y)},
                                penWidth,
                                kLightMagenta});
            ctx.out.add(Segment{start, end, penWidth, kLightMagenta});
        }
    }
}

}  // namespace

int labelTextWidth(const RedrawInputs& inputs, const std::string& text) {
    if (inputs.textMetrics) return inputs.textMetrics->measure(text, {}).width;
    constexpr int kEstimatedCharacterWidth = 8;
    int characters = 0;
    for (const unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++characters;  // UTF-8 lead bytes only
    return characters * kEstimatedCharacterWidth;
}

platform::TextSize labelTextSize(const RedrawInputs& inputs, const std::string& text) {
    if (inputs.textMetrics) return inputs.textMetrics->measure(text, {});
    constexpr int kEstimatedLineHeight = 16;
    return {labelTextWidth(inputs, text), kEstimatedLineHeight};
}

OverlayBox itemBox(const RedrawInputs& inputs, const Primitive& item) {
    struct Boxer {
        const RedrawInputs& inputs;
        OverlayBox operator()(const PixelSquare& p) const {
            const auto x = static_cast<float>(p.x), y = static_cast<float>(p.y),
                       h = static_cast<float>(p.half);
            return {x - h, y - h, x + h + 1, y + h + 1};
        }
        OverlayBox operator()(const Circle& c) const {
            const float r = c.radius + static_cast<float>(c.penWidth);
            return {c.centre.x - r, c.centre.y - r, c.centre.x + r + 1, c.centre.y + r + 1};
        }
        OverlayBox operator()(const Segment& s) const {
            const float half = static_cast<float>(std::max(s.penWidth, 1)) / 2;
            return {std::min(s.from.x, s.to.x) - half, std::min(s.from.y, s.to.y) - half,
                    std::max(s.from.x, s.to.x) + half + 1, std::max(s.from.y, s.to.y) + half + 1};
        }
        OverlayBox operator()(const Polygon& p) const {
            OverlayBox box;
            for (const PixelPoint& c : p.corners) box = box.unite({c.x, c.y, c.x + 1, c.y + 1});
            return box;
        }
        OverlayBox operator()(const FilledRect& r) const {
            return {static_cast<float>(r.left), static_cast<float>(r.top),
                    static_cast<float>(r.left + r.width), static_cast<float>(r.top + r.height)};
        }
        OverlayBox operator()(const TextLabel& t) const {
            if (t.cellWidth > 0 && t.cellHeight > 0)
                return {t.at.x, t.at.y, t.at.x + static_cast<float>(t.cellWidth),
                        t.at.y + static_cast<float>(t.cellHeight)};
            const platform::TextSize size = labelTextSize(inputs, t.text);
            return {t.at.x, t.at.y, t.at.x + static_cast<float>(size.width),
                    t.at.y + static_cast<float>(size.height)};
        }
    };
    return std::visit(Boxer{inputs}, item);
}

namespace {

// The colour bar stage's items, as one place taken.
void takeColourBarRoom(RedrawContext& ctx, std::size_t firstItem) {
    OverlayBox box;
    for (std::size_t i = firstItem; i < ctx.out.items.size(); ++i)
        box = box.unite(itemBox(ctx.inputs, ctx.out.items[i]));
    ctx.room.take(box);
}

// The axis captions keep their places where the colour bar, the scale bars and the captions
// before them left them free; the others are left out, and not counted as placed.
void keepCaptionsClear(RedrawContext& ctx) {
    std::vector<bool> dropped(ctx.nameLabels.size(), false);
    bool any = false;
    for (const std::size_t i : ctx.room.captionLabels) {
        if (i >= ctx.nameLabels.size()) continue;
        const OverlayBox box = itemBox(ctx.inputs, ctx.nameLabels[i]);
        if (ctx.room.isFree(box)) {
            ctx.room.take(box);
        } else {
            dropped[i] = true;
            any = true;
        }
    }
    ctx.room.captionLabels.clear();
    if (!any) return;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < ctx.nameLabels.size(); ++i) {
        if (dropped[i]) {
            --ctx.FlagLabelCount;
            continue;
        }
        if (kept != i) ctx.nameLabels[kept] = std::move(ctx.nameLabels[i]);
        ++kept;
    }
    ctx.nameLabels.resize(kept);
}

}  // namespace

RedrawSummary redrawScene(PointCloud& cloud, ScreenProperties& view, ViewArrays& arrays, ViewOrigin& origin,
                          const JobState& job, const RedrawInputs& inputs, const CloudColouring& colouring,
                          const RedrawStages& stages, DisplayList& out) {
    RedrawSummary summary;
    const GraphicsFlagSet& settings = inputs.settings;

    // Classes and the projection of this window.
    classifyCloud(colouring, cloud, view, job);
    ProjectionInputs projectionIn = projectionInputs(job, inputs.surface, inputs.AnalyseFlag);
    projectionIn.DevVecDirection = settings.DevVecDirection;
    projectionIn.OriginPointName = inputs.OriginPointName;
    projectCloud(cloud, view, origin, projectionIn, arrays);
    computePixels(view, projectionIn, arrays);

    out.clear(inputs.background);
    std::vector<TextLabel> nameLabels;
    std::int32_t flagLabelCount = 0;
    const ViewProjection projection = viewProjection(view, origin, inputs.surface);
    RedrawContext ctx{cloud,  view, arrays,     origin,         projection, job,
                      inputs, out,  nameLabels, flagLabelCount, {}};
    const LabelsOnTop labelsOnTop(out, nameLabels);

    const std::int32_t count = cloud.count();
    // Hiding plane, or every row visible (marked in the loop over the rows below, which reads
    // the same cells anyway).
    const bool everyRowVisible = !(view.BlackPlane && stages.hidingPlane);
    if (!everyRowVisible) stages.hidingPlane(ctx);

    // Points nearer the viewer drawn bigger; a flat cloud is drawn as without sizing.
    const std::int16_t bigNess = view.BigNess;
    bool sizeByDepth = settings.ShowPointsBigger;
    float depthFactor = 0.0f;
    const float minZ = arrays.ViewMinZ;
    if (sizeByDepth) {
        const float range = arrays.ViewMaxZ - arrays.ViewMinZ;
        if (range <= 0.0001f)
            sizeByDepth = false;
        else
            depthFactor = bigNess == 1 ? 0.0f : static_cast<float>(bigNess / (range + 1e-9));
    }

    const auto width = static_cast<float>(inputs.surface.width);
    const auto height = static_cast<float>(inputs.surface.height);
    const float right = width + 10.0f, bottom = height + 10.0f;
    const bool anyFlags = !view.FlagOfPoint.flaggedRows().empty();
    const bool outOfToleranceHidden = view.AusserhalbTol && inputs.background == view.OuterColor;
    const bool ringWanted = !inputs.SelectedPointName.empty();
    std::int32_t penWidth = 1;
    out.items.reserve(static_cast<std::size_t>(count) * (view.VectorMode ? 2 : 1) + 64);

    for (std::int32_t i = 1; i <= count; ++i) {
        const auto r = static_cast<std::size_t>(i);
        if (everyRowVisible) cloud(i, cloud::Visible) = 1.0f;
        const float px = arrays.PixelX[r], py = arrays.PixelY[r];
        const std::int16_t flag = anyFlags ? view.FlagOfPoint[i] : std::int16_t{0};
        const bool offScreen = !(px <= right && px >= -10.0f && py <= bottom && py >= -10.0f);
        if (offScreen && flag == 0) continue;
        if (cloud(i, cloud::Shown) != 1.0f || cloud(i, cloud::Visible) != 1.0f) {
            if (flag != 0 && layoutWithinScreen(view, flag) && stages.flagVisibility)
                stages.flagVisibility(ctx, flag, i, false);
            continue;
        }
        if (settings.ShowPointNames && stages.nameLabel)
            stages.nameLabel(ctx, cloud.name(i), px + 5.0f, py + 5.0f);

        const float toleranceClass = cloud(i, cloud::ToleranceClass);
        const bool hiddenAsOutOfTolerance =
            outOfToleranceHidden && (toleranceClass > static_cast<float>(view.AnzKlassenPos) ||
                                     toleranceClass < -static_cast<float>(view.AnzKlassenNeg));
        if (!hiddenAsOutOfTolerance) {
            const StoredColour c = roundEven(cloud(i, cloud::Colour));
            const float depth = arrays.ViewZ[r] - minZ;
            if (bigNess >= 4) {
                const float radius =
                    sizeByDepth ? depth * depthFactor + 1.0f : static_cast<float>(bigNess) / 2.0f;
                out.add(Circle{{px, py}, radius, penWidth, c, true, c});
            } else {
                const std::int32_t half = sizeByDepth ? roundEven((depth * depthFactor + 1.0f) / 2.0f)
                                                      : roundEven(static_cast<float>(bigNess) / 2.0f);
                if (half >= 0) out.add(PixelSquare{roundEven(px), roundEven(py), half, c});
            }
            ++summary.pointsDrawn;
            if (view.VectorMode) {
                penWidth = settings.VectorThick ? bigNess : 1;
                out.add(Segment{
                    {px, py}, {px + arrays.VectorPixelX[r], py + arrays.VectorPixelY[r]}, penWidth, c});
            }
            // Both rows of an identical point carry its name, so both are ringed.
            if (ringWanted && cloud.name(i) == inputs.SelectedPointName) {
                penWidth = bigNess + 1;
                out.add(Circle{{px, py}, static_cast<float>(bigNess + 6), penWidth, c, false, 0});
            }
        }
        if (flag != 0) {
            const bool visible =
                !layoutWithinScreen(view, flag) || pixelWithinScreen(arrays, i, inputs.surface);
            if (stages.flagVisibility) stages.flagVisibility(ctx, flag, i, visible);
            if (visible && stages.flagLeader) stages.flagLeader(ctx, flag, i);
        }
    }

    if (view.LineMode) drawLines(ctx, penWidth);

    if (settings.ShowRVec && job.Params[kRDist] != 0.0 && !job.ParamState[kRDist].empty() &&
        inputs.RVecCurrent)
        drawRVectors(ctx, settings.VectorThick ? bigNess : 1);

    if ((view.GridXY || view.GridYZ || view.GridZX) && stages.grids) stages.grids(ctx);
    if (settings.VectorQuat && job.TrafoCalculated && stages.quaternionAxis) stages.quaternionAxis(ctx);
    if (settings.ShowColorBar && stages.colourBar) {
        const std::size_t first = out.items.size();
        stages.colourBar(ctx);
        takeColourBarRoom(ctx, first);
    }
    if (stages.axes) stages.axes(ctx);
    if (stages.scaleBars) stages.scaleBars(ctx);
    keepCaptionsClear(ctx);

    summary.FlagLabelCount = flagLabelCount;
    return summary;
}

}  // namespace kal
