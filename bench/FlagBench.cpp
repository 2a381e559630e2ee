// Flags on a large job: "put Flag on all visible Points" with 10^4 and 10^5 points (each flag filled and
// placed), the automatic layout's placement alone at 10^5 rows for the border rules, which
// order the points and search free cells, and one redraw of a window whose 10^4 points all
// carry a flag (leader lines at the flag stage, the tables on top, rasterised).
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "annotation/FlagLayout.h"
#include "annotation/WindowFlags.h"
#include "shared/Units.h"
#include "view3d/CloudProjection.h"
#include "view3d/DisplayListRaster.h"
#include "view3d/RedrawPipeline.h"

namespace kal {
namespace {

class FixedWidthMetrics : public platform::TextMetrics {
  public:
    platform::TextSize measure(const std::string& text, const platform::TextFont&) const override {
        return {static_cast<int>(text.size()) * 7, 14};
    }
};

struct Scene {
    JobState job;
    PointCloud cloud;
    ViewArrays view;

    explicit Scene(std::int32_t n) {
        job.LengthUnitName = "millimeter";
        job.AngleUnitName = "degree";
        job.DigitLength = 3;
        job.DigitAngle = 4;
        applyUnitSettings(job);
        job.IdenticalCount = n / 2;
        job.UseFlags.assign(static_cast<std::size_t>(3 * job.IdenticalCount + 1), 1);
        cloud.reset(n);
        view.resize(n);
        std::mt19937 random(5);
        std::uniform_real_distribution<float> coordinate(0, 1);
        for (std::int32_t r = 1; r <= n; ++r) {
            cloud.name(r) = "P" + std::to_string(r);
            for (int c : {cloud::X, cloud::Y, cloud::Z}) cloud(r, c) = coordinate(random) * 1000;
            for (int c : {cloud::DeviationX, cloud::DeviationY, cloud::DeviationZ})
                cloud(r, c) = coordinate(random);
            cloud(r, cloud::Shown) = 1;
            cloud(r, cloud::Visible) = 1;
            view.PixelX[static_cast<std::size_t>(r)] = coordinate(random) * 1900;
            view.PixelY[static_cast<std::size_t>(r)] = coordinate(random) * 1000;
        }
    }
};

// Every visible point gets a filled flag next to it, as the flag editor's "put Flag on all
// visible Points" with "place close to Point" does.
void BM_PutFlagOnAllVisiblePoints(benchmark::State& state) {
    const Scene scene(static_cast<std::int32_t>(state.range(0)));
    const FixedWidthMetrics metrics;
    for (auto _ : state) {
        ScreenProperties view;
        view.FahneProps.resize(1);
        const ScreenProperties defaultView;
        FlagBoxes boxes;
        const FlagSources sources{scene.cloud, scene.job, metrics};
        FlagLayoutInput in{
            1920, 1080, 120, 60, FlagPlacement::CloseToPoint, 1.1, 1, scene.job.IdenticalCount};
        const FlagLayoutOutcome outcome =
            putFlagsOnAllPoints(in, scene.cloud, scene.view, [&](std::int32_t row, float x, float y) {
                FlagCreation at{row, x, y, x, y, 1920, 1080, true, true, false};
                return createFlag(view, boxes, defaultView, at, sources) != 0;
            });
        benchmark::DoNotOptimize(outcome.flagsPut);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PutFlagOnAllVisiblePoints)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FlagLayoutPlacement(benchmark::State& state) {
    const Scene scene(static_cast<std::int32_t>(state.range(0)));
    const auto rule = state.range(1) == 0 ? FlagPlacement::ScreenBorder : FlagPlacement::NextToBorder;
    for (auto _ : state) {
        // Small flags on a large picture, so that the cells run out late.
        FlagLayoutInput in{4000, 4000, 10, 10, rule, 1.1, 1, 0};
        std::int64_t placed = 0;
        putFlagsOnAllPoints(in, scene.cloud, scene.view, [&](std::int32_t, float, float) {
            ++placed;
            return true;
        });
        benchmark::DoNotOptimize(placed);
    }
}
BENCHMARK(BM_FlagLayoutPlacement)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond);

void BM_RedrawWithFlags(benchmark::State& state) {
    constexpr int kW = 1920, kH = 1080;
    const Scene scene(static_cast<std::int32_t>(state.range(0)));
    PointCloud cloud = scene.cloud;
    const FixedWidthMetrics metrics;
    ScreenProperties view;
    view.ViewAngles.resize(2, 3);
    view.Massstab = 1;
    view.BigNess = 2;
    view.FahneProps.resize(1);
    ViewOrigin origin;
    ViewArrays arrays;
    RedrawInputs inputs;
    inputs.surface = {kW, kH, 20};
    inputs.settings = scene.job.GraphicsFlags;
    projectCloud(cloud, view, origin, projectionInputs(scene.job, inputs.surface), arrays);
    fitView(view, arrays, inputs.surface);
    computePixels(view, projectionInputs(scene.job, inputs.surface), arrays);

    // A flag on every point, each beside its point.
    FlagBoxes boxes;
    const ScreenProperties defaultView;
    const FlagSources sources{cloud, scene.job, metrics};
    for (std::int32_t row = 1; row <= cloud.count(); ++row) {
        const float x = arrays.PixelX[static_cast<std::size_t>(row)],
                    y = arrays.PixelY[static_cast<std::size_t>(row)];
        FlagCreation at{
            row, x + 5, y + 5, x, y, kW, kH, true, pixelWithinScreen(arrays, row, inputs.surface), false};
        createFlag(view, boxes, defaultView, at, sources);
    }

    RedrawStages stages;
    stages.flagVisibility = [&](RedrawContext&, std::int16_t flag, std::int32_t, bool visible) {
        if (const auto it = boxes.find(flag); it != boxes.end()) it->second.visible = visible;
    };
    stages.flagLeader = [&](RedrawContext& ctx, std::int16_t flag, std::int32_t row) {
        ctx.out.add(flagLeaderLine(boxes.at(flag), ctx.arrays.PixelX[static_cast<std::size_t>(row)],
                                   ctx.arrays.PixelY[static_cast<std::size_t>(row)]));
    };
    CloudColouring colouring;
    DisplayList out;
    ImageBuffer image(kW, kH);
    for (auto _ : state) {
        redrawScene(cloud, view, arrays, origin, scene.job, inputs, colouring, stages, out);
        for (const auto& [number, box] : boxes)
            if (box.visible) appendFlagPrimitives(out, box);
        rasterise(out, image);
        benchmark::DoNotOptimize(out.items.size());
    }
    state.counters["flags"] = static_cast<double>(boxes.size());
    state.counters["primitives"] = static_cast<double>(out.items.size());
}
BENCHMARK(BM_RedrawWithFlags)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kal
