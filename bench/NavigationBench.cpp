// The graphics window's pointer work on large clouds: the hover search (once per frame while
// the mouse moves), and one rotation drag step (turn the view, project the cloud, rebuild the
// search index, find the hovered point), with and without the redraw into a display list.
// Target: a drag step well within a 16 ms frame at 10^5 points.
#include <benchmark/benchmark.h>

#include <random>

#include "shared/JobState.h"
#include "view3d/CloudProjection.h"
#include "view3d/PointPicking.h"
#include "view3d/RedrawPipeline.h"
#include "view3d/ScreenNavigator.h"

namespace {

using namespace kal;

constexpr int kWidth = 1200, kHeight = 900;

struct Scene {
    PointCloud cloud;
    ScreenProperties view;
    ViewArrays arrays;
    ViewOrigin origin;
    ProjectionInputs inputs;

    explicit Scene(std::int32_t n) {
        std::mt19937 random(7);
        std::uniform_real_distribution<float> coordinate(-1000.0f, 1000.0f);
        cloud.reset(n);
        for (std::int32_t i = 1; i <= n; ++i) {
            for (int c = cloud::X; c <= cloud::Z; ++c) cloud(i, c) = coordinate(random);
            cloud(i, cloud::Shown) = 1;
            cloud(i, cloud::Visible) = 1;
        }
        view.Massstab = 0.4f;
        view.OffsetX = 450;
        view.OffsetY = 350;
        view.BigNess = 2;
        view.ViewAngles.resize(2, 3);
        view.ViewAngles(1, 1) = -3.14159265358979;
        inputs.surface = {kWidth, kHeight, 0};
        project();
    }
    void project() {
        projectCloud(cloud, view, origin, inputs, arrays);
        computePixels(view, inputs, arrays);
    }
};

void HoverSearch(benchmark::State& state) {
    Scene scene(static_cast<std::int32_t>(state.range(0)));
    PickIndex index;
    index.rebuild(scene.cloud, scene.arrays);
    float x = 0;
    for (auto _ : state) {
        x = x > kWidth ? 0 : x + 7;
        benchmark::DoNotOptimize(index.search(0, x, 450, 0));
    }
}
BENCHMARK(HoverSearch)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The search straight over the cloud (no packed index): what a click costs.
void ClickSearch(benchmark::State& state) {
    Scene scene(static_cast<std::int32_t>(state.range(0)));
    float x = 0;
    for (auto _ : state) {
        x = x > kWidth ? 0 : x + 7;
        benchmark::DoNotOptimize(searchPointIndex(scene.cloud, scene.arrays, 0, x, 450, 0));
    }
}
BENCHMARK(ClickSearch)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// One Shift-drag move: the turn, the projection of the whole cloud and the hover search.
void DragStep(benchmark::State& state) {
    Scene scene(static_cast<std::int32_t>(state.range(0)));
    ScreenNavigator navigator(scene.view);
    navigator.hooks().reproject = [&] { scene.project(); };
    navigator.setScene(&scene.cloud, &scene.arrays, 0);
    navigator.setSurface(kWidth, kHeight);
    navigator.keyDown({16, modifier::Shift, false});
    navigator.move({600, 450, 0, 0});
    navigator.press({600, 450, mouse::Left, modifier::Shift});
    float y = 450;
    float step = 5;
    for (auto _ : state) {
        if (y > 800 || y < 100) step = -step;
        y += step;
        benchmark::DoNotOptimize(navigator.move({600, y, mouse::Left, modifier::Shift}));
    }
}
BENCHMARK(DragStep)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The same step followed by the frame's redraw into a display list (no overlays, no
// rasterising): what the window does per frame while turning.
void DragStepWithRedraw(benchmark::State& state) {
    Scene scene(static_cast<std::int32_t>(state.range(0)));
    JobState job;
    RedrawInputs inputs;
    inputs.surface = scene.inputs.surface;
    inputs.background = storedColour(255, 255, 255);
    DisplayList list;
    ScreenNavigator navigator(scene.view);
    navigator.hooks().reproject = [&] { scene.project(); };
    navigator.setScene(&scene.cloud, &scene.arrays, 0);
    navigator.setSurface(kWidth, kHeight);
    navigator.keyDown({16, modifier::Shift, false});
    navigator.move({600, 450, 0, 0});
    navigator.press({600, 450, mouse::Left, modifier::Shift});
    float y = 450;
    float step = 5;
    for (auto _ : state) {
        if (y > 800 || y < 100) step = -step;
        y += step;
        navigator.move({600, y, mouse::Left, modifier::Shift});
        redrawScene(scene.cloud, scene.view, scene.arrays, scene.origin, job, inputs, {}, {}, list);
        navigator.pixelsChanged();
        benchmark::DoNotOptimize(list.items.size());
    }
}
BENCHMARK(DragStepWithRedraw)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
