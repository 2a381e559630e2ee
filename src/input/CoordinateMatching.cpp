#include "input/CoordinateMatching.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kal {

namespace {

// Whether OCS point j is a better partner than the best so far: eligible (single-rounded distance
// below the tolerance) and nearer, or as near with a smaller index.
inline bool isBetter(double d, std::int32_t j, float etta, double best, std::int32_t bestJ) {
    if (!(d < best || (d == best && j < bestJ))) return false;
    return toSingle(d) < etta;
}

constexpr std::int32_t kNone = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kLeafSize = 8;

// The OCS points in a k-d tree of boxes. Each node knows how many of its points are not taken yet
// and the smallest index among them, so the search skips emptied subtrees and, among boxes as near
// as the best distance so far, those that cannot hold a smaller index.
//
// A box's distance bound is computed like a point distance, with the gap to the box in place of
// the coordinate difference. Rounding is monotone, so the bound never exceeds the computed
// distance of a point inside: pruning by it drops no point the plain search would take.
class OcsTree {
  public:
    explicit OcsTree(const PointCoords& ocs) : ocs_(ocs) {
        const std::int32_t m = ocs.count();
        items_.resize(static_cast<std::size_t>(m));
        for (std::int32_t j = 1; j <= m; ++j) items_[j - 1] = j;
        leafOf_.assign(static_cast<std::size_t>(m) + 1, -1);
        taken_.assign(static_cast<std::size_t>(m) + 1, 0);
        nodes_.reserve(static_cast<std::size_t>(2 * (m / kLeafSize + 1)));
        if (m > 0) build(0, m, -1);
    }

    // The partner of MCS point i: the OCS point not taken yet whose distance satisfies the
    // tolerance and is the smallest, the smallest index on ties; 0 when none.
    std::int32_t nearest(const PointCoords& mcs, std::int32_t i, float etta) const {
        if (nodes_.empty()) return 0;
        Query q{mcs, i, {mcs.x[i], mcs.y[i], mcs.z[i]}, etta};
        search(0, q);
        return q.bestJ;
    }

    void take(std::int32_t j) {
        taken_[j] = 1;
        std::int32_t node = leafOf_[j];
        Node& leaf = nodes_[node];
        --leaf.live;
        leaf.minLive = kNone;
        for (std::int32_t k = leaf.begin; k < leaf.end; ++k)
            if (!taken_[items_[k]]) leaf.minLive = std::min(leaf.minLive, items_[k]);
        for (node = leaf.parent; node >= 0; node = nodes_[node].parent) {
            Node& n = nodes_[node];
            --n.live;
            n.minLive = std::min(nodes_[n.left].minLive, nodes_[n.right].minLive);
        }
    }

  private:
    struct Query {
        const PointCoords& mcs;
        std::int32_t i;
        std::array<double, 3> p;
        float etta;
        double best = kNoDistance;
        std::int32_t bestJ = 0;
    };

    struct Node {
        std::array<double, 3> lo{}, hi{};
        std::int32_t begin = 0, end = 0;
        std::int32_t left = -1, right = -1, parent = -1;
        std::int32_t live = 0, minLive = kNone;
    };

    double coord(std::int32_t j, int axis) const {
        return axis == 0 ? ocs_.x[j] : axis == 1 ? ocs_.y[j] : ocs_.z[j];
    }

    std::int32_t build(std::int32_t begin, std::int32_t end, std::int32_t parent) {
        const auto id = static_cast<std::int32_t>(nodes_.size());
        nodes_.emplace_back();
        Node n;
        n.begin = begin, n.end = end, n.parent = parent, n.live = end - begin;
        for (int a = 0; a < 3; ++a) n.lo[a] = n.hi[a] = coord(items_[begin], a);
        for (std::int32_t k = begin; k < end; ++k) {
            n.minLive = std::min(n.minLive, items_[k]);
            for (int a = 0; a < 3; ++a) {
                n.lo[a] = std::min(n.lo[a], coord(items_[k], a));
                n.hi[a] = std::max(n.hi[a], coord(items_[k], a));
            }
        }
        if (end - begin <= kLeafSize) {
            for (std::int32_t k = begin; k < end; ++k) leafOf_[items_[k]] = id;
        } else {
            int axis = 0;
            for (int a = 1; a < 3; ++a)
                if (n.hi[a] - n.lo[a] > n.hi[axis] - n.lo[axis]) axis = a;
            const std::int32_t mid = begin + (end - begin) / 2;
            std::nth_element(items_.begin() + begin, items_.begin() + mid, items_.begin() + end,
                             [&](std::int32_t a, std::int32_t b) { return coord(a, axis) < coord(b, axis); });
            n.left = build(begin, mid, id);
            n.right = build(mid, end, id);
        }
        nodes_[id] = n;
        return id;
    }

    // The smallest distance a point of the node's box can have from q, as pointDistance rounds.
    static double boxDistance(const Node& n, const std::array<double, 3>& q) {
        std::array<double, 3> g{};
        for (int a = 0; a < 3; ++a)
            g[a] = q[a] < n.lo[a] ? n.lo[a] - q[a] : q[a] > n.hi[a] ? q[a] - n.hi[a] : 0.0;
        return std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]);
    }

    void search(std::int32_t id, Query& q) const {
        const Node& n = nodes_[id];
        if (n.live == 0) return;
        const double bound = boxDistance(n, q.p);
        if (!(bound < q.best || (bound == q.best && n.minLive < q.bestJ))) return;
        if (!(toSingle(bound) < q.etta)) return;
        if (n.left < 0) {
            for (std::int32_t k = n.begin; k < n.end; ++k) {
                const std::int32_t j = items_[k];
                if (taken_[j]) continue;
                const double d = pointDistance(q.mcs, q.i, ocs_, j);
                if (isBetter(d, j, q.etta, q.best, q.bestJ)) q.best = d, q.bestJ = j;
            }
            return;
        }
        const Node& l = nodes_[n.left];
        const Node& r = nodes_[n.right];
        const double bl = boxDistance(l, q.p), br = boxDistance(r, q.p);
        const bool leftFirst = bl < br || (bl == br && l.minLive <= r.minLive);
        search(leftFirst ? n.left : n.right, q);
        search(leftFirst ? n.right : n.left, q);
    }

    const PointCoords& ocs_;
    std::vector<std::int32_t> items_;   // OCS indices, each node's points in one slice
    std::vector<Node> nodes_;           // node 0 is the root
    std::vector<std::int32_t> leafOf_;  // the leaf holding each OCS point
    std::vector<char> taken_;
};

}  // namespace

std::vector<std::int32_t> findCoordinatePartners(const PointCoords& mcs, const PointCoords& ocs, float etta) {
    checkCoords(mcs, "MCS");
    checkCoords(ocs, "OCS");
    std::vector<std::int32_t> partner(static_cast<std::size_t>(mcs.count()) + 1, 0);
    if (mcs.count() == 0 || ocs.count() == 0 || !(etta > 0)) return partner;
    OcsTree tree(ocs);
    for (std::int32_t i = 1; i <= mcs.count(); ++i) {
        const std::int32_t j = tree.nearest(mcs, i, etta);
        if (j > 0) {
            partner[i] = j;
            tree.take(j);
        }
    }
    return partner;
}

}  // namespace kal
