// Flags on a large job: "put Flag on all visible Points" with 10^4 points (each flag filled and
// placed) and the automatic layout's placement alone at 10^5 rows for the border rules, which
// order the points and search free cells.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "annotation/FlagLayout.h"
#include "annotation/WindowFlags.h"
#include "shared/Units.h"

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
BENCHMARK(BM_PutFlagOnAllVisiblePoints)->Arg(10000)->Unit(benchmark::kMillisecond);

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

}  // namespace
}  // namespace kal
