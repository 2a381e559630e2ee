// One frame of a graphics window as the user sees it: the redraw over the window's own state
// (classes, projection, points with deviation vectors, axes, scale bars) and its painting into the
// window's QImage back buffer, for clouds of 10^4, 10^5 and 10^6 rows (identical points spread
// through a 1 m cube, deviations of about 0.1 mm drawn about 20 px long). Needs the windows (a
// QApplication on the offscreen platform; main is GridBench.cpp's).
#include <benchmark/benchmark.h>

#include <random>

#include "shared/JobState.h"
#include "view3d/ScreenScene.h"
#include "view3d/ui/FormScreen.h"

namespace kal {
namespace {

JobState cube(std::int32_t rows) {
    const std::int32_t n = rows / 2;
    JobState job;
    job.IdenticalCount = job.McsCount = job.OcsCount = n;
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> u(0.0, 1000.0);
    std::normal_distribution<double> g(0.0, 0.1);
    job.MCS_Name.assign(static_cast<std::size_t>(n) + 1, std::string());
    job.OCS_Name = job.MCS_Name;
    job.MCS_X = job.OCS_X = TaggedArray(n);
    job.MCS_Y = job.OCS_Y = TaggedArray(n);
    job.MCS_Z.assign(static_cast<std::size_t>(n) + 1, 0.0);
    job.OCS_Z = job.MCS_Z;
    for (std::int32_t i = 1; i <= n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        job.MCS_Name[k] = job.OCS_Name[k] = "P" + std::to_string(i);
        const double x = u(rng), y = u(rng), z = u(rng);
        job.OCS_X.set(i, x), job.OCS_Y.set(i, y), job.OCS_Z[k] = z;
        job.MCS_X.set(i, x + g(rng)), job.MCS_Y.set(i, y + g(rng)), job.MCS_Z[k] = z + g(rng);
    }
    job.MCSt_Name = job.MCS_Name;
    job.MCSt_X = job.MCS_X, job.MCSt_Y = job.MCS_Y, job.MCSt_Z = job.MCS_Z;
    job.sizeDerivedArrays(1);
    auto& f = job.GraphicsFlags;
    f.ViewAllMCS = f.ViewAllOCS = f.ViewAllonlyMCS = f.ViewAllonlyOCS = f.DevVecDirection = true;
    job.TrafoCalculated = true;
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
