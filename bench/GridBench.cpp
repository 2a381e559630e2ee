// Cost of showing a 10^6-row sheet in the data grid: one cell's data as the view asks for it, and a
// page scroll with its repaint. Needs the windows (a QApplication on the offscreen platform).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "shared/GridSource.h"
#include "shared/NumberText.h"
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
