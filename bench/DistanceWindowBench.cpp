// Responsiveness of the distance analysis in its window at 10 000 identical points, with the
// program's own event pump: a 5 ms timer runs beside the analysis, and max_event_gap_ms is the
// longest time between two of its firings while the analysis runs (the time a click or a repaint
// waits at most). The analysis lets events through every 40 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <random>
#include <string>

#include "details/ui/FormDistanceScale.h"
#include "platform/qt/QtPlatform.h"

namespace kal {
namespace {

JobState distanceJob(std::int32_t n) {
    JobState job;
    job.IdenticalCount = job.McsCount = job.OcsCount = n;
    job.MCS_Name.assign(static_cast<std::size_t>(n) + 1, std::string());
    job.OCS_Name = job.MCS_Name;
    job.MCS_X = TaggedArray(n), job.MCS_Y = TaggedArray(n),
    job.MCS_Z.assign(static_cast<std::size_t>(n) + 1, 0.0);
    job.OCS_X = TaggedArray(n), job.OCS_Y = TaggedArray(n),
    job.OCS_Z.assign(static_cast<std::size_t>(n) + 1, 0.0);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-5000, 5000);
    for (std::int32_t k = 1; k <= n; ++k) {
        const auto u = static_cast<std::size_t>(k);
        job.MCS_Name[u] = job.OCS_Name[u] = "P" + std::to_string(k);
        const double x = coordinate(random), y = coordinate(random), z = coordinate(random) / 5;
        job.MCS_X.set(k, x), job.MCS_Y.set(k, y), job.MCS_Z[u] = z;
        job.OCS_X.set(k, x * 1.00001), job.OCS_Y.set(k, y * 1.00001), job.OCS_Z[u] = z * 1.00001;
    }
    job.MCSt_Name = job.MCS_Name;
    job.MCSt_X = job.MCS_X, job.MCSt_Y = job.MCS_Y, job.MCSt_Z = job.MCS_Z;
    job.sizeDerivedArrays(1);
    job.LengthFactor = 1;
    job.LengthFormat = "0.000";
    job.ScaleFormat = "0.0000000";
    return job;
}

void BM_DistanceWindowResponsiveness(benchmark::State& state) {
    const JobState job = distanceJob(static_cast<std::int32_t>(state.range(0)));
    platform::QtEventPump pump;
    DistanceWindowServices s;
    s.events = &pump;
    FormDistanceScale window(job, s);
    window.show();
    QApplication::processEvents();
    double maxGap = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        qint64 last = 0, longest = 0;
        QTimer tick;
        tick.setInterval(5);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
        tick.start();
        clock.start();
        window.markJobChanged();
        window.activate();
        const qint64 end = clock.nsecsElapsed();
        longest = std::max(longest, end - last);
        tick.stop();
        maxGap = std::max(maxGap, static_cast<double>(longest) / 1e6);
    }
    state.counters["max_event_gap_ms"] = maxGap;
}
BENCHMARK(BM_DistanceWindowResponsiveness)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace kal
