#include "calculation/DirectionSwitch.h"

#include "shared/McsOcsExchange.h"

namespace kal {

DirectionLabel directionLabelAtSetUp(const JobState& job) {
    if (job.RichtungMCStoOCS) return {"MCS => OCS", false, job.NameMCS + " => " + job.NameOCS, false};
    return {"OCS => MCS", true, job.NameOCS + " => " + job.NameMCS, true};
}

DirectionLabel pressDirectionSwitch(JobState& job, const std::function<void()>& refreshStatistics) {
    job.MCSOCSGetauscht = !job.MCSOCSGetauscht;
    job.RichtungMCStoOCS = !job.RichtungMCStoOCS;
    DirectionLabel label =
        job.RichtungMCStoOCS ? DirectionLabel{"MCS -> OCS", false, job.NameMCS + " => " + job.NameOCS, false}
                             : DirectionLabel{"OCS -> MCS", true, job.NameOCS + " => " + job.NameMCS, true};
    exchangeMcsAndOcs(job);
    if (refreshStatistics) refreshStatistics();
    return label;
}

}  // namespace kal
