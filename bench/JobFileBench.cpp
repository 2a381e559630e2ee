// Saving and opening a job of 10^6 identical points: encode + atomic write, read + decode, and
// the refusal of a file whose first count claims more than it holds (no allocation from it).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "jobfile/JobFileItems.h"
#include "jobfile/JobFileReader.h"
#include "jobfile/JobFileWriter.h"
#include "shared/AtomicFile.h"
#include "shared/Errors.h"

namespace {

kal::JobState bigJob(std::int32_t n) {
    kal::JobState job;
    job.IdenticalCount = job.McsCount = job.OcsCount = n;
    auto fill = [n](std::vector<std::string>& names, kal::TaggedArray& x, kal::TaggedArray& y,
                    std::vector<double>& z, double shift) {
        names.assign(static_cast<std::size_t>(n) + 1, std::string());
        x = kal::TaggedArray(n);
        y = kal::TaggedArray(n);
        z.assign(static_cast<std::size_t>(n) + 1, 0.0);
        for (std::int32_t i = 1; i <= n; ++i) {
            names[static_cast<std::size_t>(i)] = std::string("P").append(std::to_string(i));
            x.set(i, 0.001 * i + shift);
            y.set(i, 1000.0 - 0.002 * i);
            z[static_cast<std::size_t>(i)] = 0.5 * (i % 1000);
        }
    };
    fill(job.MCS_Name, job.MCS_X, job.MCS_Y, job.MCS_Z, 0.0);
    fill(job.OCS_Name, job.OCS_X, job.OCS_Y, job.OCS_Z, 0.25);
    fill(job.MCSt_Name, job.MCSt_X, job.MCSt_Y, job.MCSt_Z, 0.0);
    job.sizeDerivedArrays(1);
    job.LengthUnitName = "millimeter";
    job.AngleUnitName = "degree";
    return job;
}

std::string benchPath() { return "/tmp/kalvoreth-bench-" + std::to_string(::getpid()) + ".tfo"; }

void SaveJob1e6(benchmark::State& state) {
    const kal::JobState job = bigJob(static_cast<std::int32_t>(state.range(0)));
    const std::string path = benchPath();
    std::size_t bytes = 0;
    for (auto _ : state) {
        kal::JobFileWriteNotes notes;
        std::string data = kal::writeJobFile(job, notes);
        kal::writeFileAtomically(path, data);
        bytes = data.size();
    }
    std::remove(path.c_str());
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(SaveJob1e6)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void OpenJob1e6(benchmark::State& state) {
    const std::string path = benchPath();
    {
        kal::JobFileWriteNotes notes;
        kal::writeFileAtomically(path,
                                 kal::writeJobFile(bigJob(static_cast<std::int32_t>(state.range(0))), notes));
    }
    for (auto _ : state) {
        std::string data = kal::readFileBytes(path);
        auto result = kal::readJobFile(data, kal::probeJobFileHeader(data));
        kal::JobState job;
        kal::adoptJobFileItems(job, std::move(result.job));
        benchmark::DoNotOptimize(job.McsCount);
    }
    std::remove(path.c_str());
}
BENCHMARK(OpenJob1e6)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// A header, then an array bound of 2^31 - 1 and nothing behind it: refused before allocating.
void RefuseCorruptCount(benchmark::State& state) {
    std::string data(
        "\x06\x00\x00\x00"
        "2.0.63"
        "\xff\xff\xff\x7f",
        14);
    for (auto _ : state) {
        try {
            kal::readJobFile(data, kal::probeJobFileHeader(data));
        } catch (const kal::FormatError&) {
        }
    }
}
BENCHMARK(RefuseCorruptCount)->Unit(benchmark::kMicrosecond);

}  // namespace
