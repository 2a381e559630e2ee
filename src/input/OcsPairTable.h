#pragma once
// The distances between the OCS points, one per pair (i, j) with i < j, searched by distance.
//
// The automatic matching asks two questions of the OCS pairs for each MCS pair: which OCS pair q*
// has the distance nearest to a given one (the first in table order i = 1..m-1, j = i+1..m among
// equally near ones), and which other OCS pair lies nearest to q* (first in table order again).
// Scanning the table answers each in O(m²). Here the distances are sorted once, in table order
// among equal distances, and each answer is a bisection and a look at the neighbours: O(log m).
//
// Exactness. The differences are compared as computed, |fl(d - e)|, not as real numbers. For a
// fixed d, fl(d - e) falls monotonically as e grows (subtraction is correctly rounded), so the
// smallest computed difference sits next to the bisection point, and all pairs that share it
// form one run of the sorted table. Within a run of equal distances the first entry is the first
// in table order; the answer is the smallest table index among the runs' first entries.
//
// Memory: 16 bytes per pair (2000 points: 32 MB), plus a bucket guide of 2 bytes per pair. The
// automatic matching therefore takes at most kMaxPairTablePoints OCS points.
//
// Building the table is the longest step of the automatic matching. It sorts in chunks and merges
// them, asking `stopRequested` between steps (which also lets events through), so the window stays
// live and Cancel ends the build; the result is the same order as one sort.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "input/MatchGeometry.h"

namespace kal {

// At most this many OCS points go into the pair table: about 50 million pairs, 900 MB.
inline constexpr std::int32_t kMaxPairTablePoints = 10000;

class OcsPairTable {
  public:
    // Pairs of the points 1..ocs.count(). Throws std::length_error for more than
    // kMaxPairTablePoints points and std::invalid_argument for a non-finite coordinate.
    // `stopRequested`, when given, is asked between the build's steps; when it answers true the
    // build ends with an empty table and stopped() true.
    // `chunkPairs` is the size of the chunks sorted between two questions.
    explicit OcsPairTable(const PointCoords& ocs, const std::function<bool()>& stopRequested = {},
                          std::size_t chunkPairs = std::size_t{1} << 20);

    bool stopped() const { return stopped_; }

    std::int64_t size() const { return static_cast<std::int64_t>(entries_.size()); }

    // A pair of the sorted table: its position there, its points and distance.
    struct Pair {
        std::int64_t pos = 0;
        std::int32_t i = 0, j = 0;
        double distance = 0;
    };

    // The pair q* nearest to distance d, with diff = d - distance(q*), when |diff| is below
    // 1e10 and, rounded to single precision, below `etta`; nullopt otherwise (also when the
    // table is empty). Pairs that cannot pass the tolerance are not told apart.
    struct Nearest {
        Pair pair;
        double diff = 0;
    };
    std::optional<Nearest> nearestWithin(double d, float etta) const;

    // The gap of q*: distance(q*) minus the distance of the nearest other pair, the first in
    // table order among equally near ones. kNoDistance when no other pair lies within 1e10.
    double gapOf(const Pair& q) const;

  private:
    bool stopped_ = false;
    Pair pairAt(std::int64_t pos) const;
    struct Entry {
        double dist;
        std::uint32_t index;  // table index (0-based) of the pair
    };
    std::uint32_t tableIndexAt(std::int64_t pos) const {
        return entries_[static_cast<std::size_t>(pos)].index;
    }
    double distAt(std::int64_t pos) const { return entries_[static_cast<std::size_t>(pos)].dist; }
    auto begin() const { return entries_.begin(); }
    // The position, within [lo, hi), of the entry with the smallest table index; hi when empty.
    std::int64_t firstInTableOrder(std::int64_t lo, std::int64_t hi) const;
    // The first position whose distance is not below d (std::lower_bound, narrowed by the guide).
    std::int64_t lowerBound(double d) const;
    void buildGuide();
    // Over positions [lo, hi) where pred(distance) holds for a prefix and fails for the rest: the
    // first position where it fails. The answer is sought by galloping from lo (firstFalseFrom)
    // or back from hi (firstFalseBefore), so a boundary a few entries away costs a few probes.
    template <class Pred>
    std::int64_t firstFalseFrom(std::int64_t lo, std::int64_t hi, Pred pred) const {
        std::int64_t probe = lo, step = 1;
        while (probe < hi && pred(distAt(probe))) lo = probe + 1, probe = lo + step, step *= 2;
        return std::ranges::partition_point(begin() + lo, begin() + std::min(probe, hi), pred, &Entry::dist) -
               begin();
    }
    template <class Pred>
    std::int64_t firstFalseBefore(std::int64_t lo, std::int64_t hi, Pred pred) const {
        std::int64_t probe = hi - 1, step = 1;
        while (probe >= lo && !pred(distAt(probe))) hi = probe, probe = hi - 1 - step, step *= 2;
        return std::ranges::partition_point(begin() + std::max(probe + 1, lo), begin() + hi, pred,
                                            &Entry::dist) -
               begin();
    }
    std::int64_t bucketOf(double e, std::int64_t buckets) const {
        const double u = std::floor((e - guideLow_) * guideScale_);
        return static_cast<std::int64_t>(std::clamp(u, 0.0, static_cast<double>(buckets - 1)));
    }

    std::vector<Entry> entries_;           // sorted by distance, then table index
    std::vector<std::uint32_t> rowStart_;  // table index of pair (i, i+1), i = 1..m (entry 0 unused)
    // Guide to the sorted distances: bucket b of the range [guideLow_, top] starts at guide_[b].
    // The bucket number is a monotone function of the distance, so a bisection need only look
    // inside the bucket of its value. Empty when the range is not finite.
    std::vector<std::int64_t> guide_;
    double guideLow_ = 0, guideScale_ = 0;
    std::int32_t m_ = 0;
};

}  // namespace kal
