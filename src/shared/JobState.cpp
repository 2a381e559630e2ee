#include "shared/JobState.h"

namespace kal {

void JobState::sizeDerivedArrays(std::int16_t newFlag) {
    McsOnlyCount = McsCount - IdenticalCount;
    OcsOnlyCount = OcsCount - IdenticalCount;
    UseFlags.resize(static_cast<std::size_t>(3 * IdenticalCount + 1), newFlag);
    MCSt_Name.resize(static_cast<std::size_t>(McsCount + 1));
    MCSt_X.resize(McsCount);
    MCSt_Y.resize(McsCount);
    MCSt_Z.resize(static_cast<std::size_t>(McsCount + 1), 0.0);
    RVec_X.resize(IdenticalCount);
    RVec_Y.resize(IdenticalCount);
    RVec_Z.resize(static_cast<std::size_t>(IdenticalCount + 1), 0.0);
}

bool JobState::invariantsHold() const {
    auto size = [](const auto& v) { return static_cast<std::int64_t>(v.size()); };
    if (IdenticalCount < 0 || McsCount < IdenticalCount || OcsCount < IdenticalCount) return false;
    if (McsOnlyCount != McsCount - IdenticalCount || OcsOnlyCount != OcsCount - IdenticalCount) return false;
    if (size(MCS_Name) < McsCount + 1 || MCS_X.upper() < McsCount || MCS_Y.upper() < McsCount ||
        size(MCS_Z) < McsCount + 1)
        return false;
    if (size(OCS_Name) < OcsCount + 1 || OCS_X.upper() < OcsCount || OCS_Y.upper() < OcsCount ||
        size(OCS_Z) < OcsCount + 1)
        return false;
    if (size(UseFlags) < 3 * static_cast<std::int64_t>(IdenticalCount) + 1) return false;
    return true;
}

}  // namespace kal
