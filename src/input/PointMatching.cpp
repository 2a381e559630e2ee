#include "input/PointMatching.h"

#include <utility>

#include "shared/Errors.h"
#include "shared/McsOcsExchange.h"
#include "shared/Sorting.h"

namespace kal {

namespace {

// Sorts the set by name, carrying the coordinates (and the angle rows) along.
void sortByName(PointSet& set, Matrix* angles) {
    std::vector<std::int32_t> index;
    sortNames(set.names, index);
    const std::int32_t n = set.count();
    auto permute = [&](std::vector<double>& v) {
        std::vector<double> sorted(v.size(), 0.0);
        for (std::int32_t i = 1; i <= n; ++i)
            sorted[static_cast<std::size_t>(i)] =
                v[static_cast<std::size_t>(index[static_cast<std::size_t>(i)])];
        v.swap(sorted);
    };
    permute(set.x), permute(set.y), permute(set.z);
    if (angles) {
        Matrix sorted(n, 3);
        for (std::int32_t i = 1; i <= n; ++i)
            for (int c = 1; c <= 3; ++c) sorted(i, c) = (*angles)(index[static_cast<std::size_t>(i)], c);
        *angles = std::move(sorted);
    }
}

void refuseDouble(const PointSet& set, const char* system, const ReadOptions& options) {
    for (std::int32_t i = 1; i < set.count(); ++i) {
        if (set.names[static_cast<std::size_t>(i)] != set.names[static_cast<std::size_t>(i + 1)]) continue;
        const std::string message = std::string("There might be a double Pointnumber in the ") + system +
                                    " File. \nPlease check Point Number " +
                                    set.names[static_cast<std::size_t>(i)];
        tell(options, message);
        throw FormatError(message);
    }
}

void exchange(PointSet& set, Matrix* angles, std::int32_t a, std::int32_t b) {
    const auto i = static_cast<std::size_t>(a), j = static_cast<std::size_t>(b);
    std::swap(set.names[i], set.names[j]);
    std::swap(set.x[i], set.x[j]), std::swap(set.y[i], set.y[j]), std::swap(set.z[i], set.z[j]);
    if (angles)
        for (int c = 1; c <= 3; ++c) std::swap((*angles)(a, c), (*angles)(b, c));
}

}  // namespace

MatchedPoints matchPointsByName(PointSet mcs, PointSet ocs, std::optional<Matrix> ocsAngles,
                                const ReadOptions& options) {
    if (ocsAngles && ocsAngles->rows() != ocs.count())
        throw std::invalid_argument("matchPointsByName: the angles do not belong to the OCS points");
    Matrix* angles = ocsAngles ? &*ocsAngles : nullptr;
    sortByName(mcs, nullptr);
    sortByName(ocs, angles);
    refuseDouble(mcs, "MCS", options);
    refuseDouble(ocs, "OCS", options);

    // Both sets are in the same total order, so the names they share come in the same order in
    // both: one walk along both lists gives the pairs in name order, as a sort of the merged list
    // would.
    std::vector<std::int32_t> mcsPairs, ocsPairs;
    for (std::int32_t i = 1, j = 1; i <= mcs.count() && j <= ocs.count();) {
        const std::string& a = mcs.names[static_cast<std::size_t>(i)];
        const std::string& b = ocs.names[static_cast<std::size_t>(j)];
        if (a == b) {
            mcsPairs.push_back(i++);
            ocsPairs.push_back(j++);
        } else if (nameSortsBefore(a, b)) {
            ++i;
        } else {
            ++j;
        }
    }

    // Pair k to index k by exchanges: the pair lists grow with k, so an exchange never moves a
    // point still needed later.
    const auto k = static_cast<std::int32_t>(mcsPairs.size());
    for (std::int32_t p = 1; p <= k; ++p) {
        if (mcsPairs[static_cast<std::size_t>(p - 1)] != p)
            exchange(mcs, nullptr, p, mcsPairs[static_cast<std::size_t>(p - 1)]);
        if (ocsPairs[static_cast<std::size_t>(p - 1)] != p)
            exchange(ocs, angles, p, ocsPairs[static_cast<std::size_t>(p - 1)]);
    }
    MatchedPoints matched{std::move(mcs), std::move(ocs), std::move(ocsAngles), k};
    return matched;
}

UseFlagsByName rememberUseFlags(const JobState& job) {
    UseFlagsByName flags;
    const std::int32_t n =
        std::min<std::int64_t>(job.IdenticalCount, (static_cast<std::int64_t>(job.UseFlags.size()) - 1) / 3);
    flags.reserve(static_cast<std::size_t>(std::max(n, 0)));
    for (std::int32_t k = 1; k <= n && k < static_cast<std::int32_t>(job.MCS_Name.size()); ++k) {
        const auto f = static_cast<std::size_t>(3 * (k - 1) + 1);
        flags.emplace(job.MCS_Name[static_cast<std::size_t>(k)],
                      std::array<std::int16_t, 3>{job.UseFlags[f], job.UseFlags[f + 1], job.UseFlags[f + 2]});
    }
    return flags;
}

void commitMatchedPoints(JobState& job, MatchedPoints matched, const UseFlagsByName& flags) {
    auto fill = [](PointSet& set, std::vector<std::string>& names, TaggedArray& x, TaggedArray& y,
                   std::vector<double>& z) {
        const std::int32_t n = set.count();
        x = TaggedArray(n), y = TaggedArray(n);
        for (std::int32_t i = 1; i <= n; ++i)
            x.set(i, set.x[static_cast<std::size_t>(i)]), y.set(i, set.y[static_cast<std::size_t>(i)]);
        z = std::move(set.z);
        names = std::move(set.names);
    };
    const std::int32_t k = matched.identical;
    job.McsCount = matched.mcs.count();
    job.OcsCount = matched.ocs.count();
    job.IdenticalCount = k;
    job.McsOnlyCount = job.McsCount - k;
    job.OcsOnlyCount = job.OcsCount - k;

    // MCSt starts as a copy of the MCS, until a calculation transforms it.
    job.MCSt_Name = matched.mcs.names;
    job.MCSt_X = TaggedArray(job.McsCount), job.MCSt_Y = TaggedArray(job.McsCount);
    for (std::int32_t i = 1; i <= job.McsCount; ++i)
        job.MCSt_X.set(i, matched.mcs.x[static_cast<std::size_t>(i)]),
            job.MCSt_Y.set(i, matched.mcs.y[static_cast<std::size_t>(i)]);
    job.MCSt_Z = matched.mcs.z;

    fill(matched.mcs, job.MCS_Name, job.MCS_X, job.MCS_Y, job.MCS_Z);
    fill(matched.ocs, job.OCS_Name, job.OCS_X, job.OCS_Y, job.OCS_Z);
    job.OcsAngles = matched.ocsAngles ? std::move(*matched.ocsAngles) : Matrix();

    job.RVec_X = TaggedArray(k), job.RVec_Y = TaggedArray(k);
    job.RVec_Z.assign(static_cast<std::size_t>(k) + 1, 0.0);

    job.UseFlags.assign(static_cast<std::size_t>(3 * k) + 1, 0);
    for (std::int32_t p = 1; p <= k; ++p) {
        const auto it = flags.find(job.MCS_Name[static_cast<std::size_t>(p)]);
        const std::array<std::int16_t, 3> f =
            it != flags.end() ? it->second : std::array<std::int16_t, 3>{1, 1, 1};
        for (int c = 0; c < 3; ++c)
            job.UseFlags[static_cast<std::size_t>(3 * (p - 1) + 1 + c)] = f[static_cast<std::size_t>(c)];
    }
    // A job whose direction the user had switched keeps it: the new sets are exchanged as well.
    if (job.MCSOCSGetauscht) exchangeMcsAndOcs(job);
}

}  // namespace kal
