#include "input/OcsPairTable.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kal {

namespace {

// A difference counts only below the start value of the plain search's "best so far".
inline bool counts(double v) { return v < kNoDistance; }

}  // namespace

OcsPairTable::OcsPairTable(const PointCoords& ocs, const std::function<bool()>& stopRequested,
                           std::size_t chunkPairs)
    : m_(ocs.count()) {
    if (m_ > kMaxPairTablePoints)
        throw std::length_error("Too many OCS points for the automatic matching by distances");
    checkCoords(ocs, "OCS");
    const std::int64_t m = m_;
    const std::int64_t pairs = m * (m - 1) / 2;
    auto stop = [&] {
        if (!stopRequested || !stopRequested()) return false;
        stopped_ = true;
        entries_.clear();
        entries_.shrink_to_fit();
        return true;
    };

    rowStart_.assign(static_cast<std::size_t>(m) + 1, 0);
    for (std::int64_t i = 1; i <= m; ++i)
        rowStart_[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>((i - 1) * m - (i - 1) * i / 2);

    auto& entries = entries_;
    entries.reserve(static_cast<std::size_t>(pairs));
    // Table order among equal distances: the index breaks the tie, so the order is total and
    // sorting in chunks then merging gives exactly the order of one sort.
    const auto before = [](const Entry& a, const Entry& b) {
        return a.dist < b.dist || (a.dist == b.dist && a.index < b.index);
    };
    const std::size_t chunk = std::max<std::size_t>(chunkPairs, 1);
    std::vector<std::size_t> bounds{0};
    std::uint32_t t = 0;
    for (std::int32_t i = 1; i < m_; ++i) {
        for (std::int32_t j = i + 1; j <= m_; ++j) entries.push_back({pointDistance(ocs, i, ocs, j), t++});
        if (entries.size() - bounds.back() >= chunk || i + 1 == m_) {
            std::sort(entries.begin() + static_cast<std::ptrdiff_t>(bounds.back()), entries.end(), before);
            bounds.push_back(entries.size());
            if (stop()) return;
        }
    }
    while (bounds.size() > 2) {
        std::vector<std::size_t> merged{0};
        for (std::size_t k = 0; k + 1 < bounds.size(); k += 2) {
            const auto first = entries.begin();
            if (k + 2 < bounds.size()) {
                std::inplace_merge(first + static_cast<std::ptrdiff_t>(bounds[k]),
                                   first + static_cast<std::ptrdiff_t>(bounds[k + 1]),
                                   first + static_cast<std::ptrdiff_t>(bounds[k + 2]), before);
                merged.push_back(bounds[k + 2]);
            } else {
                merged.push_back(bounds[k + 1]);
            }
            if (stop()) return;
        }
        bounds = std::move(merged);
    }
    buildGuide();
}

namespace {
// About this many sorted distances per guide bucket.
constexpr std::int64_t kPerBucket = 4;
}  // namespace

void OcsPairTable::buildGuide() {
    const std::int64_t n = size();
    if (n < 2 * kPerBucket || !std::isfinite(entries_.back().dist)) return;
    const std::int64_t buckets = n / kPerBucket;
    guideLow_ = entries_.front().dist;
    const double range = entries_.back().dist - guideLow_;
    if (!(range > 0)) return;
    guideScale_ = static_cast<double>(buckets) / range;
    guide_.assign(static_cast<std::size_t>(buckets) + 2, n);
    // guide_[b] = first position whose bucket is b or more.
    std::int64_t b = 0;
    for (std::int64_t pos = 0; pos < n; ++pos) {
        const std::int64_t bucket = bucketOf(distAt(pos), buckets);
        while (b <= bucket) guide_[static_cast<std::size_t>(b++)] = pos;
    }
}

std::int64_t OcsPairTable::lowerBound(double d) const {
    if (guide_.empty() || !(d >= guideLow_))
        return std::ranges::lower_bound(entries_, d, {}, &Entry::dist) - begin();
    const auto buckets = static_cast<std::int64_t>(guide_.size()) - 2;
    const std::int64_t b = bucketOf(d, buckets);
    // Distances in buckets before b are below d, those in buckets after b above it.
    const auto first = begin() + guide_[static_cast<std::size_t>(b)];
    const auto last = begin() + guide_[static_cast<std::size_t>(b) + 1];
    return std::ranges::lower_bound(first, last, d, {}, &Entry::dist) - begin();
}

OcsPairTable::Pair OcsPairTable::pairAt(std::int64_t pos) const {
    const std::uint32_t t = tableIndexAt(pos);
    // The row is the last i whose first pair (i, i+1) has a table index <= t.
    const auto row = std::upper_bound(rowStart_.begin() + 1, rowStart_.begin() + m_, t) - 1;
    const auto i = static_cast<std::int32_t>(row - rowStart_.begin());
    const auto j = static_cast<std::int32_t>(i + 1 + (t - *row));
    return {pos, i, j, distAt(pos)};
}

std::int64_t OcsPairTable::firstInTableOrder(std::int64_t lo, std::int64_t hi) const {
    std::int64_t best = hi;
    // Entries are sorted by table index within each run of equal distances: only the first entry
    // of each run inside [lo, hi) can be the smallest.
    for (std::int64_t pos = lo; pos < hi;) {
        if (best == hi || tableIndexAt(pos) < tableIndexAt(best)) best = pos;
        const double e = distAt(pos);
        pos = firstFalseFrom(pos, hi, [e](double x) { return x <= e; });
    }
    return best;
}

std::optional<OcsPairTable::Nearest> OcsPairTable::nearestWithin(double d, float etta) const {
    const std::int64_t n = size();
    if (n == 0) return std::nullopt;
    const std::int64_t k = lowerBound(d);
    const double below = k > 0 ? std::fabs(d - distAt(k - 1)) : kNoDistance;  // pairs with e < d
    const double above = k < n ? std::fabs(d - distAt(k)) : kNoDistance;      // pairs with e >= d
    const bool belowCounts = counts(below), aboveCounts = counts(above);
    if (!belowCounts && !aboveCounts) return std::nullopt;
    const double best = !aboveCounts ? below : !belowCounts ? above : std::min(below, above);
    if (!(toSingle(best) < etta)) return std::nullopt;

    // All pairs at the smallest difference: a run ending at k from below, one starting at k above.
    std::int64_t lo = k, hi = k;
    if (belowCounts && below == best)
        lo = firstFalseBefore(0, k, [&](double e) { return std::fabs(d - e) > best; });
    if (aboveCounts && above == best)
        hi = firstFalseFrom(k, n, [&](double e) { return std::fabs(d - e) <= best; });
    const std::int64_t pos = firstInTableOrder(lo, hi);
    return Nearest{pairAt(pos), d - distAt(pos)};
}

double OcsPairTable::gapOf(const Pair& q) const {
    const std::int64_t n = size();
    const double e = q.distance;
    const std::int64_t runLo = firstFalseBefore(0, q.pos, [e](double x) { return x < e; });
    const std::int64_t runHi = firstFalseFrom(q.pos, n, [e](double x) { return x <= e; });
    if (runHi - runLo >= 2) return e - e;  // another pair at the same distance: gap 0

    const double left = runLo > 0 ? std::fabs(e - distAt(runLo - 1)) : kNoDistance;
    const double right = runHi < n ? std::fabs(e - distAt(runHi)) : kNoDistance;
    const bool leftCounts = counts(left), rightCounts = counts(right);
    if (!leftCounts && !rightCounts) return kNoDistance;
    const double best = !rightCounts ? left : !leftCounts ? right : std::min(left, right);

    std::int64_t lo = runLo, hi = runHi;
    if (leftCounts && left == best)
        lo = firstFalseBefore(0, runLo, [&](double x) { return std::fabs(e - x) > best; });
    if (rightCounts && right == best)
        hi = firstFalseFrom(runHi, n, [&](double x) { return std::fabs(e - x) <= best; });
    const std::int64_t l = firstInTableOrder(lo, runLo);
    const std::int64_t r = firstInTableOrder(runHi, hi);
    std::int64_t other = l;
    if (l == runLo || (r != hi && tableIndexAt(r) < tableIndexAt(l))) other = r;
    return e - distAt(other);
}

}  // namespace kal
