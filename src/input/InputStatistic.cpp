#include "input/InputStatistic.h"

#include <cmath>

#include "shared/Units.h"

namespace kal {

InputStatisticState inputStatistic(const JobState& job) {
    InputStatisticState s;
    s.captions = {
        "MCS - Points in " + job.NameMCS + " File", "OCS - Points in " + job.NameOCS + " File",
        "Identically Points (In both Files)",       "MCS only - Points only in " + job.NameMCS,
        "OCS only - Points only in " + job.NameOCS, "MCS - " + job.NameMCS + " Filename",
        "OCS - " + job.NameOCS + " Filename",
    };
    s.texts = {
        std::to_string(job.McsCount),
        std::to_string(job.OcsCount),
        std::to_string(job.IdenticalCount),
        std::to_string(job.McsOnlyCount),
        std::to_string(job.OcsOnlyCount),
        job.MCS_FileName,
        job.OCS_FileName,
    };
    if (job.KukaOcsMode || job.QuatOcsMode) {
        s.rangeCaption = "ABC Range in " + job.AngleUnitName;
        s.rangesEnabled = true;
        const double ranges[] = {job.AbcRange1, job.AbcRange2, job.AbcRange3};
        for (std::size_t i = 0; i < 3; ++i) {
            if (!std::isfinite(ranges[i]) || !std::isfinite(ranges[i] * job.AngleFactor)) continue;
            s.ranges[i] =
                formatAngle(ranges[i], job.AngleFactor, job.AngleFormat, job.AngleUnitName, job.AngleFormat);
        }
    } else {
        s.rangeCaption = kRangeFrameDesignCaption;
        s.ranges = {kRangeNotInUse, kRangeNotInUse, kRangeNotInUse};
    }
    return s;
}

}  // namespace kal
