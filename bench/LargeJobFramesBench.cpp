// What a redraw and paint of a graphics window (1200 x 900) costs on a job of 10^5 identical points
// (2 x 10^5 rows, all shown) with each display option whose work grows with the points shown: the
// plain frame, names on every point, the hiding plane, tolerance classes computed afresh (as after
// a change of the limits), and a line chain through every MCS point; and the hover over such a
// chain. Needs the windows (a QApplication on the offscreen platform; main is GridBench.cpp's).
#include <benchmark/benchmark.h>

#include "LargeJobWindow.h"
#include "view3d/CloudProjection.h"
#include "view3d/HidingPlane.h"
#include "view3d/LineChains.h"
#include "view3d/ScreenScene.h"

namespace kal {
namespace {

enum class Shown { Points, Names, HidingPlane, NewClasses, LineChain };

// A chain of segments through the MCS rows 1..n in order.
void chainThroughAllPoints(ScreenProperties& view, std::int32_t n) {
    view.LineMode = true;
    view.LineCount = n - 1;
    view.Lines.resize(3, n);
    for (std::int32_t k = 1; k < n; ++k) {
        view.Lines(1, k) = k;
        view.Lines(2, k) = k + 1;
    }
}

void BM_LargeJobFrame(benchmark::State& state) {
    constexpr std::int32_t kPoints = 100'000;
    bench::LargeJobWindow p(kPoints);
    FormScreen& w = *p.window;
    ScreenModel& m = w.model();
    const auto shown = static_cast<Shown>(state.range(0));
    m.view.AnzKlassenPos = m.view.AnzKlassenNeg = 10;
    m.view.Max = 0.2, m.view.Min = -0.2;
    if (shown == Shown::Names) p.job.GraphicsFlags.ShowPointNames = true;
    if (shown == Shown::HidingPlane)
        initialiseHidingPlane(m.view, viewProjection(m.view, m.origin, surfaceOf(m)), true, true);
    if (shown == Shown::LineChain) chainThroughAllPoints(m.view, kPoints);
    w.redraw();
    w.renderNow();
    int turn = 0;
    for (auto _ : state) {
        // New limits: every row's class and colour are computed again.
        if (shown == Shown::NewClasses) m.view.Max = (++turn % 2) ? 0.15 : 0.2;
        w.redraw();
        w.renderNow();
        benchmark::DoNotOptimize(w.backBuffer().constBits());
    }
    state.counters["primitives"] = static_cast<double>(m.display.items.size());
}
BENCHMARK(BM_LargeJobFrame)
    ->ArgName("shown")
    ->Arg(static_cast<int>(Shown::Points))
    ->Arg(static_cast<int>(Shown::Names))
    ->Arg(static_cast<int>(Shown::HidingPlane))
    ->Arg(static_cast<int>(Shown::NewClasses))
    ->Arg(static_cast<int>(Shown::LineChain))
    ->Unit(benchmark::kMillisecond);

// The line hover of one mouse move over a window whose chain runs through every MCS point.
void BM_LineHoverOverLongChain(benchmark::State& state) {
    constexpr std::int32_t kPoints = 100'000;
    bench::LargeJobWindow p(kPoints);
    ScreenModel& m = p.window->model();
    chainThroughAllPoints(m.view, kPoints);
    for (auto _ : state) benchmark::DoNotOptimize(segmentUnderMouse(m.view, m.arrays, 3.0f, 3.0f));
}
BENCHMARK(BM_LineHoverOverLongChain)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kal
