#pragma once
// The table of drawable points every graphics window draws from: the MCS and the OCS side of
// each identical point, then the MCS-only and the OCS-only points. Rows 1..count() (row 0 is
// never filled), columns 0..16 of single-precision numbers, and one name per row.
//
// Columns: 1-3 x, y, z (mm, OCS frame); 4 colour-basis value; 5 tolerance class; 6 colour
// (R + 256 G + 65536 B as a number); 8-10 the deviation vector to draw; 12 shown mark (1/0);
// 13-15 the deviation of an identical point (transformed MCS minus OCS); 16 visible mark (1/0,
// the hiding plane). Columns 0, 7 and 11 are not used.
#include <cassert>
#include <cstdint>
#include <string>
#include <vector>

namespace kal {

namespace cloud {
inline constexpr int X = 1, Y = 2, Z = 3;
inline constexpr int ColourBasis = 4;
inline constexpr int ToleranceClass = 5;
inline constexpr int Colour = 6;
inline constexpr int VectorX = 8, VectorY = 9, VectorZ = 10;
inline constexpr int Shown = 12;
inline constexpr int DeviationX = 13, DeviationY = 14, DeviationZ = 15;
inline constexpr int Visible = 16;
inline constexpr int ColumnCount = 17;  // columns 0..16
}  // namespace cloud

class PointCloud {
  public:
    // Rows 0..count, every cell 0 and every name empty.
    void reset(std::int32_t count) {
        assert(count >= 0);
        count_ = count;
        cells_.assign(static_cast<std::size_t>(count + 1) * cloud::ColumnCount, 0.0f);
        names_.assign(static_cast<std::size_t>(count + 1), std::string{});
    }

    std::int32_t count() const { return count_; }  // PointCloudCount

    float& operator()(std::int32_t row, int column) {
        assert(row >= 0 && row <= count_ && column >= 0 && column < cloud::ColumnCount);
        return cells_[static_cast<std::size_t>(row) * cloud::ColumnCount + static_cast<std::size_t>(column)];
    }
    float operator()(std::int32_t row, int column) const {
        assert(row >= 0 && row <= count_ && column >= 0 && column < cloud::ColumnCount);
        return cells_[static_cast<std::size_t>(row) * cloud::ColumnCount + static_cast<std::size_t>(column)];
    }

    std::string& name(std::int32_t row) { return names_.at(static_cast<std::size_t>(row)); }
    const std::string& name(std::int32_t row) const { return names_.at(static_cast<std::size_t>(row)); }

    bool operator==(const PointCloud&) const = default;

  private:
    std::int32_t count_ = 0;
    std::vector<float> cells_ = std::vector<float>(cloud::ColumnCount, 0.0f);
    std::vector<std::string> names_ = std::vector<std::string>(1);
};

}  // namespace kal
