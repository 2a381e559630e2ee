// One redraw of a graphics window with deviation vectors: the classes, the projection, the
// display list of the cloud and its rasterising into the window's picture (1200 × 900), for
// clouds of 10^4, 10^5 and 10^6 rows (half of them MCS sides, half OCS sides of identical
// points spread through a 1 m cube, deviations of about 0.1 mm drawn about 20 px long). The
// second benchmark also rebuilds the cloud from the job first, as after a calculation.
#include <benchmark/benchmark.h>

#include "CubeJob.h"
#include "shared/JobState.h"
#include "view3d/CloudProjection.h"
#include "view3d/DisplayListRaster.h"
#include "view3d/PointCloudBuild.h"
#include "view3d/RedrawPipeline.h"

namespace kal {
namespace {

constexpr int kWidth = 1200, kHeight = 900;

JobState cubeJob(std::int32_t rows) {
    JobState job = bench::deviationCubeJob(rows);
    job.GraphicsFlags.ShowPointsBigger = true;
    return job;
}

struct Scene {
    JobState job;
    ScreenProperties view;
    PointCloud cloud;
    ViewArrays arrays;
    ViewOrigin origin;
    RedrawInputs inputs;
    CloudColouring colouring;
    RedrawStages stages;
    DisplayList out;
    ImageBuffer image{kWidth, kHeight};

    explicit Scene(std::int32_t rows) : job(cubeJob(rows)) {
        view.ViewAngles.resize(2, 3);
        view.ViewAngles(1, 1) = 3.6651914, view.ViewAngles(1, 2) = -0.8726646,
                           view.ViewAngles(1, 3) = -0.8726646;
        view.Massstab = 1, view.BigNess = 2, view.VectorMode = true, view.Vec_Massstab = 200;
        inputs.surface = {kWidth, kHeight, 20};
        inputs.settings = job.GraphicsFlags;
        inputs.background = 0;
        buildPointCloud(cloud, job, view, colouring);
        projectCloud(cloud, view, origin, projectionInputs(job, inputs.surface), arrays);
        fitView(view, arrays, inputs.surface);
    }
    void redraw() {
        redrawScene(cloud, view, arrays, origin, job, inputs, colouring, stages, out);
        rasterise(out, image);
    }
};

void BM_Redraw(benchmark::State& state) {
    Scene scene(static_cast<std::int32_t>(state.range(0)));
    scene.redraw();  // buffers sized once, as in a window that has drawn before
    for (auto _ : state) {
        scene.redraw();
        benchmark::DoNotOptimize(scene.image.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["primitives"] = static_cast<double>(scene.out.items.size());
}
BENCHMARK(BM_Redraw)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_RebuildAndRedraw(benchmark::State& state) {
    Scene scene(static_cast<std::int32_t>(state.range(0)));
    scene.redraw();
    for (auto _ : state) {
        buildPointCloud(scene.cloud, scene.job, scene.view, scene.colouring);
        scene.redraw();
        benchmark::DoNotOptimize(scene.image.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RebuildAndRedraw)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kal
