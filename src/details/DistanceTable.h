#pragma once
// The result table of the distance analysis (TabelleScale): one row per identical point, eleven
// columns of texts computed when the grid asks. Lengths are multiplied by LengthFactor and written
// with LengthFormat at that moment, so a change of units shows without a new analysis; the scale
// is a ratio and only formatted (ScaleFormat). A row without pairs (a single identical point)
// shows its name and empty cells.
#include <array>
#include <cstdint>
#include <string>

#include "details/DistanceAnalysis.h"
#include "shared/GridSource.h"
#include "shared/JobState.h"

namespace kal {

// The titles of row 0 (the German titles and the blank after "max Scale" as users know them).
inline const std::array<const char*, 11> kDistanceTableTitles = {
    "Von Pkt", "max delta s", "bei Pkt", "min delta s",          "bei Pkt",      "max Scale ",
    "bei Pkt", "min Scale",   "bei Pkt", "Schnitt Abs(delta s)", "Schnitt Scale"};

class DistanceTable : public GridSource {
  public:
    // `job` supplies the units; `analysis` may be null (an empty table) and must outlive the table
    // or be replaced first.
    explicit DistanceTable(const JobState& job, const DistanceAnalysis* analysis = nullptr)
        : job_(job), analysis_(analysis) {}
    void setAnalysis(const DistanceAnalysis* analysis) { analysis_ = analysis; }
    const DistanceAnalysis* analysis() const { return analysis_; }

    std::int32_t rowCount() const override;
    std::int32_t columnCount() const override {
        return static_cast<std::int32_t>(kDistanceTableTitles.size());
    }
    std::string headerText(std::int32_t column) const override;
    std::string text(std::int32_t row, std::int32_t column) const override;

  private:
    std::string name(std::int32_t point) const;
    std::string length(double millimetres) const;
    std::string scale(double value) const;

    const JobState& job_;
    const DistanceAnalysis* analysis_;
};

}  // namespace kal
