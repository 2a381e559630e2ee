// The reference for the 7-parameter solve (BM_CalcHelmert7): Eigen's closed-form similarity fit
// (umeyama) on the same points, for the ratio of the two times. The points are copied into Eigen's
// 3 × n matrices before the timing, as a caller of umeyama would hold them.
#include <benchmark/benchmark.h>

#include <Eigen/Geometry>
#include <cmath>
#include <cstdint>

#include "../tests/engine/SyntheticJob.h"

namespace kal {
namespace {

void BM_Umeyama7(benchmark::State& state) {
    const auto n = static_cast<std::int32_t>(state.range(0));
    auto truth = testing::identityParams();  // as BM_CalcHelmert7
    truth[kTraX] = 101.5, truth[kTraY] = -48.25, truth[kTraZ] = 25;
    truth[kRotX] = 0.3, truth[kRotY] = -0.2, truth[kRotZ] = 0.5;
    for (int k = kScaleX; k <= kScaleXYZ; ++k) truth[k] = 1.0005;
    const JobState job = testing::makeJob(n, truth);
    Eigen::Matrix3Xd src(3, n), dst(3, n);
    for (std::int32_t i = 1; i <= n; ++i) {
        const auto iz = static_cast<std::size_t>(i);
        src.col(i - 1) << job.MCS_X[i], job.MCS_Y[i], job.MCS_Z[iz];
        dst.col(i - 1) << job.OCS_X[i], job.OCS_Y[i], job.OCS_Z[iz];
    }
    double scale = 0;
    for (auto _ : state) {
        const Eigen::Matrix4d T = Eigen::umeyama(src, dst, true);
        scale = T.block<3, 3>(0, 0).col(0).norm();
        benchmark::DoNotOptimize(T.data());
    }
    if (std::fabs(scale - 1.0005) > 1e-9) state.SkipWithError("umeyama: wrong scale");
}

BENCHMARK(BM_Umeyama7)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kal
