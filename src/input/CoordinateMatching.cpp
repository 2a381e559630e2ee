#include "input/CoordinateMatching.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace kal {

namespace {

// Cells per axis at most; three cell numbers then pack into one 63-bit key.
constexpr int kCellBits = 21;
constexpr double kMaxCellsPerAxis = double(1 << (kCellBits - 1));

// The cell size is the tolerance widened by this factor, so that rounding in the cell numbers
// (a few 1e-10 cells at most with kMaxCellsPerAxis) can never put a partner two cells away.
constexpr double kCellWidening = 1.0 + 1e-6;

// Whether OCS point j is a better partner than the best so far: eligible (single-rounded distance
// below the tolerance) and nearer, or as near with a smaller index.
inline bool isBetter(double d, std::int32_t j, float etta, double best, std::int32_t bestJ) {
    if (!(d < best || (d == best && j < bestJ))) return false;
    return toSingle(d) < etta;
}

// The plain search, for point sets whose extent the grid cannot number (coordinates near the
// limits of a double).
std::vector<std::int32_t> plainSearch(const PointCoords& mcs, const PointCoords& ocs, float etta) {
    std::vector<std::int32_t> partner(static_cast<std::size_t>(mcs.count()) + 1, 0);
    std::vector<char> used(static_cast<std::size_t>(ocs.count()) + 1, 0);
    for (std::int32_t i = 1; i <= mcs.count(); ++i) {
        double best = kNoDistance;
        std::int32_t bestJ = 0;
        for (std::int32_t j = 1; j <= ocs.count(); ++j) {
            if (used[j]) continue;
            const double d = pointDistance(mcs, i, ocs, j);
            if (isBetter(d, j, etta, best, bestJ)) best = d, bestJ = j;
        }
        if (bestJ > 0) partner[i] = bestJ, used[bestJ] = 1;
    }
    return partner;
}

inline std::uint64_t mixBits(std::uint64_t k) {  // splitmix64 finaliser
    k ^= k >> 30;
    k *= 0xbf58476d1ce4e5b9ULL;
    k ^= k >> 27;
    k *= 0x94d049bb133111ebULL;
    k ^= k >> 31;
    return k;
}

// The OCS points bucketed by cell. Each cell holds its points in a slice of `items_`; the first
// `live` of them are not taken yet, and taking a point swaps it behind them.
class OcsGrid {
  public:
    // False when the extent of the points cannot be numbered in cells.
    bool build(const PointCoords& ocs, double cellSize) {
        const std::int32_t m = ocs.count();
        std::array<std::span<const double>, 3> axes{ocs.x, ocs.y, ocs.z};
        for (int a = 0; a < 3; ++a) {
            const auto values = axes[a].subspan(1);
            const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
            const double extent = *hi - *lo;
            if (!std::isfinite(extent)) return false;
            origin_[a] = *lo;
            size_[a] = std::max(cellSize, extent / (kMaxCellsPerAxis - 2));
            cells_[a] = static_cast<std::int64_t>(std::floor(extent / size_[a])) + 1;
        }

        std::vector<std::pair<std::uint64_t, std::int32_t>> keyed(static_cast<std::size_t>(m));
        for (std::int32_t j = 1; j <= m; ++j) {
            std::array<std::int64_t, 3> c{};
            for (int a = 0; a < 3; ++a)
                c[a] = std::clamp<std::int64_t>(
                    static_cast<std::int64_t>(std::floor(cellNumber(a, axes[a][j]))), 0, cells_[a] - 1);
            keyed[j - 1] = {pack(c), j};
        }
        std::sort(keyed.begin(), keyed.end());

        items_.resize(static_cast<std::size_t>(m));
        posOf_.assign(static_cast<std::size_t>(m) + 1, 0);
        cellOf_.assign(static_cast<std::size_t>(m) + 1, 0);
        std::size_t tableSize = 16;
        while (tableSize < 2 * static_cast<std::size_t>(m)) tableSize *= 2;
        table_.assign(tableSize, {kEmpty, 0});
        for (std::size_t k = 0; k < keyed.size(); ++k) {
            const auto [key, j] = keyed[k];
            if (k == 0 || key != keyed[k - 1].first) {
                insert(key, static_cast<std::int32_t>(start_.size()));
                start_.push_back(static_cast<std::int32_t>(k));
                live_.push_back(0);
            }
            const std::int32_t cell = static_cast<std::int32_t>(start_.size()) - 1;
            items_[k] = j;
            posOf_[j] = static_cast<std::int32_t>(k);
            cellOf_[j] = cell;
            ++live_[cell];
        }
        return true;
    }

    // Calls visit(j) for every OCS point not taken yet in the 27 cells around (x, y, z).
    template <class Visit>
    void forEachNear(double x, double y, double z, Visit&& visit) const {
        std::array<std::int64_t, 3> lo{}, hi{};
        const std::array<double, 3> p{x, y, z};
        for (int a = 0; a < 3; ++a) {
            const double u = std::floor(cellNumber(a, p[a]));
            if (!(u + 1 >= 0 && u - 1 <= double(cells_[a] - 1))) return;  // no cell near (or NaN)
            lo[a] = std::max<std::int64_t>(0, static_cast<std::int64_t>(u) - 1);
            hi[a] = std::min<std::int64_t>(cells_[a] - 1, static_cast<std::int64_t>(u) + 1);
        }
        for (std::int64_t cz = lo[2]; cz <= hi[2]; ++cz)
            for (std::int64_t cy = lo[1]; cy <= hi[1]; ++cy)
                for (std::int64_t cx = lo[0]; cx <= hi[0]; ++cx) {
                    const std::int32_t cell = find(pack({cx, cy, cz}));
                    if (cell < 0) continue;
                    const std::int32_t begin = start_[cell];
                    for (std::int32_t k = begin; k < begin + live_[cell]; ++k) visit(items_[k]);
                }
    }

    // Takes OCS point j out of its cell.
    void take(std::int32_t j) {
        const std::int32_t cell = cellOf_[j];
        const std::int32_t last = start_[cell] + --live_[cell];
        const std::int32_t pos = posOf_[j];
        const std::int32_t other = items_[last];
        std::swap(items_[pos], items_[last]);
        posOf_[other] = pos;
        posOf_[j] = last;
    }

  private:
    static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};

    double cellNumber(int axis, double v) const { return (v - origin_[axis]) / size_[axis]; }
    static std::uint64_t pack(const std::array<std::int64_t, 3>& c) {
        return std::uint64_t(c[0]) | (std::uint64_t(c[1]) << kCellBits) |
               (std::uint64_t(c[2]) << 2 * kCellBits);
    }
    void insert(std::uint64_t key, std::int32_t cell) {
        const std::size_t mask = table_.size() - 1;
        std::size_t h = mixBits(key) & mask;
        while (table_[h].first != kEmpty) h = (h + 1) & mask;
        table_[h] = {key, cell};
    }
    std::int32_t find(std::uint64_t key) const {
        const std::size_t mask = table_.size() - 1;
        for (std::size_t h = mixBits(key) & mask;; h = (h + 1) & mask) {
            if (table_[h].first == key) return table_[h].second;
            if (table_[h].first == kEmpty) return -1;
        }
    }

    std::array<double, 3> origin_{}, size_{};
    std::array<std::int64_t, 3> cells_{};
    std::vector<std::int32_t> items_, posOf_, cellOf_, start_, live_;
    std::vector<std::pair<std::uint64_t, std::int32_t>> table_;
};

}  // namespace

std::vector<std::int32_t> findCoordinatePartners(const PointCoords& mcs, const PointCoords& ocs, float etta) {
    checkCoords(mcs, "MCS");
    checkCoords(ocs, "OCS");
    std::vector<std::int32_t> partner(static_cast<std::size_t>(mcs.count()) + 1, 0);
    if (mcs.count() == 0 || ocs.count() == 0 || !(etta > 0)) return partner;

    // Every partner lies nearer than the tolerance and nearer than 1e10.
    const double reach = std::min(static_cast<double>(etta), kNoDistance);
    OcsGrid grid;
    if (!grid.build(ocs, reach * kCellWidening)) return plainSearch(mcs, ocs, etta);

    for (std::int32_t i = 1; i <= mcs.count(); ++i) {
        double best = kNoDistance;
        std::int32_t bestJ = 0;
        grid.forEachNear(mcs.x[i], mcs.y[i], mcs.z[i], [&](std::int32_t j) {
            const double d = pointDistance(mcs, i, ocs, j);
            if (isBetter(d, j, etta, best, bestJ)) best = d, bestJ = j;
        });
        if (bestJ > 0) {
            partner[i] = bestJ;
            grid.take(bestJ);
        }
    }
    return partner;
}

}  // namespace kal
