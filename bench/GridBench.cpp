// Cost of showing a 10^6-row sheet in the data grid: one cell's data as the view asks for it, and a
// page scroll with its repaint; and of the calculation window's point table over 10^6 identical
// points: a fill (model reset and sort), a scroll step, and the memory the table adds per row.
// Needs the windows (a QApplication on the offscreen platform).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QScrollBar>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "calculation/ui/PointTable.h"
#include "shared/GridSource.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shared/NumberText.h"
#include "shared/Units.h"
#include "shared/ui/DataGrid.h"
#include "shared/ui/GridModel.h"

namespace kal {
namespace {

constexpr std::int32_t kRows = 1'000'000;
constexpr std::int32_t kColumns = 10;

// A sheet like the main one: a point name, then coordinates and deviations formatted on demand;
// deviations beyond a tolerance get a coloured back, the name column a fixed-cell look.
class SyntheticSheet : public GridSource {
  public:
    std::int32_t rowCount() const override { return kRows; }
    std::int32_t columnCount() const override { return kColumns; }
    std::string headerText(std::int32_t column) const override {
        return column == 0 ? "Point" : "Value " + std::to_string(column);
    }
    std::string text(std::int32_t row, std::int32_t column) const override {
        if (column == 0) return std::string("P").append(std::to_string(row + 1));
        return formatNumber(value(row, column), "0.0000");
    }
    CellStyle style(std::int32_t row, std::int32_t column) const override {
        if (column == 0) return {CellAlignment::Left, true, std::nullopt, Rgb{192, 192, 192}};
        CellStyle style;
        style.alignment = CellAlignment::Right;
        if (column >= 7 && value(row, column) > 900.0) style.background = Rgb{255, 128, 128};
        return style;
    }

  private:
    static double value(std::int32_t row, std::int32_t column) {
        std::uint64_t h = static_cast<std::uint64_t>(row) * 0x9E3779B97F4A7C15ull + column;
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 32;
        return static_cast<double>(h % 10'000'000) / 10'000.0;  // 0 .. 999.9999
    }
};

std::vector<QModelIndex> randomCells(const GridModel& model, std::size_t count) {
    std::mt19937 engine(12);
    std::uniform_int_distribution<int> row(0, kRows - 1), column(0, kColumns - 1);
    std::vector<QModelIndex> cells;
    for (std::size_t k = 0; k < count; ++k) cells.push_back(model.index(row(engine), column(engine)));
    return cells;
}

// The display text of one cell, anywhere in the sheet.
void BM_GridModelData(benchmark::State& state) {
    const SyntheticSheet sheet;
    const GridModel model(&sheet);
    const std::vector<QModelIndex> cells = randomCells(model, 4096);
    std::size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(model.data(cells[k], Qt::DisplayRole));
        k = (k + 1) % cells.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GridModelData);

// Everything the delegate asks to paint one cell (text, alignment, font, colours) in one call.
void BM_GridModelPaintRoles(benchmark::State& state) {
    const SyntheticSheet sheet;
    const GridModel model(&sheet);
    const std::vector<QModelIndex> cells = randomCells(model, 4096);
    QModelRoleData roles[] = {QModelRoleData(Qt::FontRole),       QModelRoleData(Qt::TextAlignmentRole),
                              QModelRoleData(Qt::ForegroundRole), QModelRoleData(Qt::CheckStateRole),
                              QModelRoleData(Qt::DecorationRole), QModelRoleData(Qt::DisplayRole),
                              QModelRoleData(Qt::BackgroundRole)};
    std::size_t k = 0;
    for (auto _ : state) {
        model.multiData(cells[k], roles);
        benchmark::DoNotOptimize(roles[5].data());
        k = (k + 1) % cells.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GridModelPaintRoles);

// A 1000 x 700 grid scrolled down by one page and repainted, as Page Down does.
void BM_DataGridPageScroll(benchmark::State& state) {
    const SyntheticSheet sheet;
    DataGrid grid;
    grid.setSource(&sheet);
    grid.resize(1000, 700);
    grid.show();
    QApplication::processEvents();
    QScrollBar* bar = grid.verticalScrollBar();
    for (auto _ : state) {
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        grid.viewport()->repaint();
    }
    state.counters["rows_per_page"] = bar->pageStep();
}
BENCHMARK(BM_DataGridPageScroll)->Unit(benchmark::kMillisecond);

// Showing another 10^6-row sheet: the model reset and the first paint.
void BM_DataGridResetAndPaint(benchmark::State& state) {
    const SyntheticSheet sheet;
    DataGrid grid;
    grid.resize(1000, 700);
    grid.show();
    QApplication::processEvents();
    for (auto _ : state) {
        grid.setSource(&sheet);
        grid.viewport()->repaint();
        state.PauseTiming();
        grid.setSource(nullptr);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DataGridResetAndPaint)->Unit(benchmark::kMillisecond);

// Fitting every column of a 10^6-row sheet to its title and texts, as a fill does for the columns
// without a stored width: a bounded sample of rows, whatever the length of the table.
void BM_DataGridFitColumns(benchmark::State& state) {
    const SyntheticSheet sheet;
    DataGrid grid;
    grid.setSource(&sheet);
    for (auto _ : state)
        for (int column = 0; column < kColumns; ++column)
            benchmark::DoNotOptimize(grid.fittedColumnWidth(column));
}
BENCHMARK(BM_DataGridFitColumns)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- the point table

constexpr std::int32_t kIdentical = 1'000'000;

// A job of 10^6 identical points P1.. with residuals of up to ±5 mm in each component.
const JobState& millionPointJob() {
    static const std::unique_ptr<JobState> job = [] {
        auto j = std::make_unique<JobState>();
        j->LengthUnitName = "millimeter";
        j->AngleUnitName = "degree";
        j->DigitLength = 3;
        j->DigitAngle = 4;
        applyUnitSettings(*j);
        const std::int32_t n = kIdentical;
        j->McsCount = j->OcsCount = j->IdenticalCount = n;
        j->MCS_Name.assign(static_cast<std::size_t>(n + 1), std::string());
        j->OCS_Name = j->MCS_Name;
        j->MCSt_Name = j->MCS_Name;
        for (TaggedArray* a : {&j->MCS_X, &j->MCS_Y, &j->OCS_X, &j->OCS_Y, &j->MCSt_X, &j->MCSt_Y})
            a->resize(n);
        for (std::vector<double>* a : {&j->MCS_Z, &j->OCS_Z, &j->MCSt_Z})
            a->assign(static_cast<std::size_t>(n + 1), 0.0);
        j->sizeDerivedArrays(1);
        std::mt19937 engine(7);
        std::uniform_real_distribution<double> deviation(-5.0, 5.0);
        for (std::int32_t k = 1; k <= n; ++k) {
            const auto i = static_cast<std::size_t>(k);
            j->MCS_Name[i] = j->OCS_Name[i] = j->MCSt_Name[i] = std::string("P").append(std::to_string(k));
            const double x = 10.0 * k, y = -3.0 * k, z = 0.5 * k;
            j->OCS_X.set(k, x);
            j->OCS_Y.set(k, y);
            j->OCS_Z[i] = z;
            j->MCSt_X.set(k, x + deviation(engine));
            j->MCSt_Y.set(k, y + deviation(engine));
            j->MCSt_Z[i] = z + deviation(engine);
        }
        j->SeedPointNames = {"", "P1", "P2", "P3"};
        j->SeedPointIndex = {0, 1, 2, 3};
        return j;
    }();
    return *job;
}

// The point table of a window 800 x 700, sorted by a column (dev.x unless told) as after a header click.
struct ShownPointTable {
    JobState job = millionPointJob();
    JobEvents events;
    PointTable table{job, events};
    explicit ShownPointTable(int sortColumn = 2) {
        table.resize(800, 700);
        table.setDeviationShown(true);
        table.show();
        table.headerClicked(sortColumn);
        QApplication::processEvents();
    }
};

// A refill that rebuilds the rows: the model reset, the sort of 10^6 rows by dev.x (numbers) or by
// Pt.ID (texts "P1".."P1000000"), one key per row and a stable sort, and the first paint.
void BM_PointTableFill(benchmark::State& state) {
    ShownPointTable shown(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        shown.table.setDeviationShown(false);  // the header only
        state.ResumeTiming();
        shown.table.setDeviationShown(true);
        shown.table.viewport()->repaint();
    }
    state.counters["rows"] = shown.table.gridModel().rowCount();
}
BENCHMARK(BM_PointTableFill)->Arg(2)->Arg(1)->ArgName("column")->Unit(benchmark::kMillisecond)->Iterations(5);

// A refill after a calculation (same points, new residuals): the sort again and a repaint, no reset.
void BM_PointTableRefill(benchmark::State& state) {
    ShownPointTable shown;
    for (auto _ : state) {
        shown.table.refill();
        shown.table.viewport()->repaint();
    }
}
BENCHMARK(BM_PointTableRefill)->Unit(benchmark::kMillisecond)->Iterations(5);

// One scroll step (a wheel notch: three rows) or one page, with the repaint it causes.
void BM_PointTableScroll(benchmark::State& state) {
    ShownPointTable shown;
    QScrollBar* bar = shown.table.verticalScrollBar();
    const int step = state.range(0) == 0 ? 3 : bar->pageStep();
    bar->setValue(kIdentical / 2);
    for (auto _ : state) {
        const int next = bar->value() + step;
        bar->setValue(next > bar->maximum() ? 0 : next);
        shown.table.viewport()->repaint();
    }
    state.counters["rows_per_step"] = step;
}
BENCHMARK(BM_PointTableScroll)->Arg(0)->Arg(1)->ArgName("page")->Unit(benchmark::kMicrosecond);

// The heap the table adds to the job for 10^6 rows, sorted and shown (the permutation and its
// inverse, the view's row headers), and what the sort holds for a moment besides (one key a row).
void BM_PointTableMemory(benchmark::State& state) {
    JobState job = millionPointJob();
    JobEvents events;
    double kept = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const auto before = static_cast<double>(mallinfo2().uordblks);
        PointTable table(job, events);
        table.resize(800, 700);
        table.setDeviationShown(true);
        table.headerClicked(2);
        table.show();
        QApplication::processEvents();
        kept = static_cast<double>(mallinfo2().uordblks) - before;
    }
    state.counters["bytes_per_row"] = kept / kIdentical;
    // A 16-byte packed key, its text and the stable sort's buffer of packed keys.
    state.counters["sort_bytes_per_row"] = static_cast<double>(2 * 16 + sizeof(std::string));
}
BENCHMARK(BM_PointTableMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace kal

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);  // a benchmark opens no window on the desktop
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
