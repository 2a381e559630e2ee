// "put Flag on all visible Points" as the user runs it on a job of 10^5 identical points: a real
// graphics window (1200 x 900) in the main window, its current flag's layout carried to every
// flag, each flag filled with the window's font metrics, then the window's redraw and paint with
// all the flags. One benchmark per placement rule; the question before flags that cannot be read
// is answered "Yes", so the whole run is timed. A flag number is 16-bit, so at most 32767 flags
// are made. Needs the windows (a QApplication on the offscreen platform; main is GridBench.cpp's).
#include <benchmark/benchmark.h>

#include "LargeJobWindow.h"

namespace kal {
namespace {

FlagEditorModel::Applied putAll(FlagPlacement placement) {
    FlagEditorModel::Applied applied;
    applied.putAll = true;
    applied.placement = placement;
    return applied;
}

// The first flag by a click, then the run over every MCS side; timed: the run, its redraw and
// the paint of the window with all its flags.
void BM_PutFlagOnAllVisiblePointsInTheWindow(benchmark::State& state) {
    bench::LargeJobWindow p(static_cast<std::int32_t>(state.range(0)));
    const auto placement = static_cast<FlagPlacement>(state.range(1));
    std::size_t made = 0;
    for (auto _ : state) {
        state.PauseTiming();
        p.flags.removeFlags(*p.window);
        p.window->model().MouseX = 5, p.window->model().MouseY = 5;
        // The editor works on the flag double-clicked: the current one.
        p.window->model().view.CurrentFahne = p.flags.createFlagOnRow(*p.window, 1);
        p.window->renderNow();
        state.ResumeTiming();
        p.flags.putFlagsOnAllVisiblePoints(*p.window, putAll(placement));
        p.window->renderNow();
        made = p.flags.flagsOf(*p.window)->size();
    }
    state.counters["flags"] = static_cast<double>(made);
}
BENCHMARK(BM_PutFlagOnAllVisiblePointsInTheWindow)
    ->ArgNames({"points", "rule"})
    ->Args({100'000, static_cast<int>(FlagPlacement::CloseToPoint)})
    ->Args({100'000, static_cast<int>(FlagPlacement::Radial)})
    ->Args({100'000, static_cast<int>(FlagPlacement::ScreenBorder)})
    ->Args({100'000, static_cast<int>(FlagPlacement::NextToBorder)})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// One redraw and paint of the window after the close rule put its flags.
void BM_RedrawWindowWithFlags(benchmark::State& state) {
    bench::LargeJobWindow p(static_cast<std::int32_t>(state.range(0)));
    p.window->model().MouseX = 5, p.window->model().MouseY = 5;
    p.window->model().view.CurrentFahne = p.flags.createFlagOnRow(*p.window, 1);
    p.flags.putFlagsOnAllVisiblePoints(*p.window, putAll(FlagPlacement::CloseToPoint));
    p.window->renderNow();
    for (auto _ : state) {
        p.window->redraw();
        p.window->renderNow();
    }
    state.counters["flags"] = static_cast<double>(p.flags.flagsOf(*p.window)->size());
}
BENCHMARK(BM_RedrawWindowWithFlags)->Arg(100'000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kal
