#include "shared/McsOcsExchange.h"

#include <utility>

namespace kal {

void exchangeMcsAndOcs(JobState& job) {
    std::swap(job.McsCount, job.OcsCount);
    std::swap(job.McsOnlyCount, job.OcsOnlyCount);
    std::swap(job.MCS_Name, job.OCS_Name);
    std::swap(job.MCS_X, job.OCS_X);
    std::swap(job.MCS_Y, job.OCS_Y);
    std::swap(job.MCS_Z, job.OCS_Z);
    // Each set holds exactly its count of points.
    job.MCS_Name.resize(static_cast<std::size_t>(job.McsCount + 1));
    job.MCS_X.resize(job.McsCount);
    job.MCS_Y.resize(job.McsCount);
    job.MCS_Z.resize(static_cast<std::size_t>(job.McsCount + 1), 0.0);
    job.OCS_Name.resize(static_cast<std::size_t>(job.OcsCount + 1));
    job.OCS_X.resize(job.OcsCount);
    job.OCS_Y.resize(job.OcsCount);
    job.OCS_Z.resize(static_cast<std::size_t>(job.OcsCount + 1), 0.0);

    job.MCSt_Name = job.MCS_Name;
    job.MCSt_X = job.MCS_X;
    job.MCSt_Y = job.MCS_Y;
    job.MCSt_Z = job.MCS_Z;
}

}  // namespace kal
