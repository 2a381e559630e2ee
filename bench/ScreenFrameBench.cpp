// One frame of a graphics window as the user sees it: the redraw over the window's own state
// (classes, projection, points with deviation vectors, axes, scale bars) and its painting into the
// window's QImage back buffer, for clouds of 10^4, 10^5 and 10^6 rows (identical points spread
// through a 1 m cube, deviations of about 0.1 mm drawn about 20 px long). Needs the windows (a
// QApplication on the offscreen platform; main is GridBench.cpp's).
#include <benchmark/benchmark.h>

#include "CubeJob.h"
#include "shared/JobState.h"
#include "view3d/ScreenScene.h"
#include "view3d/ui/FormScreen.h"

namespace kal {
namespace {

JobState cube(std::int32_t rows) {
    JobState job = bench::deviationCubeJob(rows);
    job.LengthFactor = 1, job.LengthUnitName = "millimeter";
    return job;
}

void BM_ScreenFrame(benchmark::State& state) {
    const JobState job = cube(static_cast<std::int32_t>(state.range(0)));
    GraphicsSession session;
    ScreenScene scene;
    ScreenServices services;
    services.drawScene = [&](ScreenModel& m) { drawScreen(m, job, session, scene); };
    FormScreen window(session, services, nullptr);
    window.resize(1200, 900);
    window.show();
    ScreenModel& m = window.model();
    m.width = window.surface()->width(), m.height = window.surface()->height();
    loadScreen(m, job, scene, session, 0);
    m.view.VectorMode = true;
    m.view.Vec_Massstab = 200;
    window.redraw();
    window.renderNow();  // buffers sized once, as in a window that has drawn before
    for (auto _ : state) {
        window.redraw();
        window.renderNow();
        benchmark::DoNotOptimize(window.backBuffer().constBits());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["primitives"] = static_cast<double>(m.display.items.size());
}
BENCHMARK(BM_ScreenFrame)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kal
