// Cost of the main sheet of a 10^6-pair job in its window: the fill (contents taken from the job,
// grid reset, first paint), one sort by a title click, and a page scroll with its repaint. Needs
// the windows (a QApplication on the offscreen platform).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <cstdint>
#include <random>

#include "results/ui/FormMainSheet.h"
#include "shared/JobState.h"
#include "shared/Units.h"

namespace kal {
namespace {

constexpr std::int32_t kPairs = 1'000'000;

// 10^6 identical pairs in a 2 m box, calculated: MCSt is the OCS point plus a residual of a few
// hundredths of a millimetre. Millimetre and degree, 3 and 4 decimals.
const JobState& bigJob() {
    static const JobState job = [] {
        JobState j;
        j.IdenticalCount = j.McsCount = j.OcsCount = kPairs;
        j.MCS_Name.assign(kPairs + 1, std::string());
        j.OCS_Name.assign(kPairs + 1, std::string());
        j.MCS_X.resize(kPairs), j.MCS_Y.resize(kPairs), j.OCS_X.resize(kPairs), j.OCS_Y.resize(kPairs);
        j.MCS_Z.assign(kPairs + 1, 0.0), j.OCS_Z.assign(kPairs + 1, 0.0);
        j.sizeDerivedArrays(1);
        std::mt19937_64 rng(7);
        std::uniform_real_distribution<double> box(-1000, 1000), residual(-0.05, 0.05);
        for (std::int32_t k = 1; k <= kPairs; ++k) {
            const auto at = static_cast<std::size_t>(k);
            j.MCS_Name[at] = j.OCS_Name[at] = "P" + std::to_string(k);
            const double x = box(rng), y = box(rng), z = box(rng);
            j.MCS_X.set(k, x), j.MCS_Y.set(k, y), j.MCS_Z[at] = z;
            j.OCS_X.set(k, 1000 - y), j.OCS_Y.set(k, x - 500), j.OCS_Z[at] = z + 250;
            j.MCSt_X.set(k, j.OCS_X[k] + residual(rng)), j.MCSt_Y.set(k, j.OCS_Y[k] + residual(rng));
            j.MCSt_Z[at] = j.OCS_Z[at] + residual(rng);
        }
        j.Params[kScaleX] = j.Params[kScaleY] = j.Params[kScaleZ] = j.Params[kScaleXYZ] = 1.0;
        j.LengthUnitName = "millimeter", j.AngleUnitName = "degree";
        j.DigitLength = 3, j.DigitAngle = 4;
        applyUnitSettings(j);
        j.TrafoCalculated = true;
        return j;
    }();
    return job;
}

struct ShownSheet {
    JobState job = bigJob();
    FormMainSheet w{job, platform::Services{}};
    ShownSheet() {
        w.resize(1200, 800);
        w.show();
        QApplication::processEvents();
    }
};

// A refill of the whole sheet and its first paint, as after a calculation or a change of units.
void BM_MainSheetFill(benchmark::State& state) {
    ShownSheet s;
    for (auto _ : state) {
        s.w.fill();
        s.w.grid()->viewport()->repaint();
    }
    state.counters["rows"] = kPairs;
}
BENCHMARK(BM_MainSheetFill)->Unit(benchmark::kMillisecond)->Iterations(3);

// One click on a title: all rows sorted by that column (keys read once) and the page repainted.
// Column 7 (dev.x) holds numbers, column 0 the names.
void BM_MainSheetSort(benchmark::State& state) {
    ShownSheet s;
    s.w.fill();
    const int column = static_cast<int>(state.range(0));
    for (auto _ : state) {
        s.w.clickTitle(column);
        s.w.grid()->viewport()->repaint();
    }
    state.counters["rows"] = kPairs;
}
BENCHMARK(BM_MainSheetSort)->Arg(7)->Arg(15)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);

// Page Down over the sorted sheet, with the repaint of the new page.
void BM_MainSheetPageScroll(benchmark::State& state) {
    ShownSheet s;
    s.w.fill();
    s.w.clickTitle(7);
    QScrollBar* bar = s.w.grid()->verticalScrollBar();
    for (auto _ : state) {
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        s.w.grid()->viewport()->repaint();
    }
    state.counters["rows_per_page"] = bar->pageStep();
}
BENCHMARK(BM_MainSheetPageScroll)->Unit(benchmark::kMillisecond);

// The sheet's own part of a page: the texts and looks of 33 rows × 23 columns, through the sorted
// rows, as the grid asks for them (the rest of a page scroll is Qt's painting).
void BM_MainSheetPageCells(benchmark::State& state) {
    ShownSheet s;
    s.w.fill();
    s.w.clickTitle(7);
    const GridSource& shown = s.w.shownRows();
    std::int32_t first = 0;
    for (auto _ : state) {
        for (std::int32_t row = first; row < first + 33; ++row)
            for (std::int32_t column = 0; column < kMainSheetColumns; ++column) {
                benchmark::DoNotOptimize(shown.text(row, column));
                benchmark::DoNotOptimize(shown.style(row, column));
            }
        first = (first + 33) % (kPairs - 33);
    }
    state.SetItemsProcessed(state.iterations() * 33 * kMainSheetColumns);
}
BENCHMARK(BM_MainSheetPageCells)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kal

// main: GridBench.cpp's, which runs every benchmark of the windows on one QApplication.
