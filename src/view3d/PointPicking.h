#pragma once
// The nearest-point search of a graphics window (Search_Point_Index): which cloud row lies under
// a pixel of the window's drawing surface, among the rows that are shown and visible.
//
// Rules kept exactly, because picking, hovering, line chains and the flag layout all rely on
// them:
// - distances are squared pixels, computed in double and stored as float;
// - a candidate must lie closer than √30000 ≈ 173 px, except cloud row 1, which is accepted at
//   any distance when it is a candidate (so the bound holds only while row 1 is hidden);
// - on equal distances the lower row wins (strict comparison in row order);
// - the OCS copy of an identical point (rows n+1..2n, n = IdenticalCount) is reported as its
//   partner row (row − n);
// - when no row qualifies, the incoming index is returned unchanged.
//
// Cost: one pass over the rows, O(N). PickIndex keeps the candidates' pixels in two packed
// arrays so the many hover searches between two redraws read 8 bytes a row instead of the
// cloud's 68-byte rows.
#include <cstdint>
#include <vector>

#include "view3d/PointCloud.h"
#include "view3d/ViewArrays.h"

namespace kal {

inline constexpr float kPickRadiusSquared = 30000.0f;

// Search_Point_Index over the cloud and the window's pixel arrays. Rows beyond the shorter of
// the two tables are not searched.
std::int32_t searchPointIndex(const PointCloud& cloud, const ViewArrays& arrays, std::int32_t identicalCount,
                              float xp, float yp, std::int32_t index);

// The candidates of one projection, packed for repeated searches. Rebuild it after every change
// of the window's pixel arrays or of the shown/visible marks.
class PickIndex {
  public:
    void rebuild(const PointCloud& cloud, const ViewArrays& arrays);
    // Same result as searchPointIndex over the cloud and arrays given to rebuild().
    std::int32_t search(std::int32_t identicalCount, float xp, float yp, std::int32_t index) const;
    std::size_t candidateCount() const { return rows_.size(); }

  private:
    std::vector<std::int32_t> rows_;  // ascending
    std::vector<float> x_, y_;
};

// Maps a hit on an OCS copy to its partner row.
inline std::int32_t partnerRow(std::int32_t index, std::int32_t identicalCount) {
    if (index > identicalCount && index <= 2 * static_cast<std::int64_t>(identicalCount))
        return index - identicalCount;
    return index;
}

}  // namespace kal
