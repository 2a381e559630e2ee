#include "jobfile/JobFileItems.h"

#include <utility>

namespace kal {

void adoptJobFileItems(JobState& job, JobState&& loaded) {
    job.MCS_Name = std::move(loaded.MCS_Name);
    job.MCS_X = std::move(loaded.MCS_X);
    job.MCS_Y = std::move(loaded.MCS_Y);
    job.MCS_Z = std::move(loaded.MCS_Z);
    job.OCS_Name = std::move(loaded.OCS_Name);
    job.OCS_X = std::move(loaded.OCS_X);
    job.OCS_Y = std::move(loaded.OCS_Y);
    job.OCS_Z = std::move(loaded.OCS_Z);
    job.MCSt_Name = std::move(loaded.MCSt_Name);
    job.MCSt_X = std::move(loaded.MCSt_X);
    job.MCSt_Y = std::move(loaded.MCSt_Y);
    job.MCSt_Z = std::move(loaded.MCSt_Z);
    job.RVec_X = std::move(loaded.RVec_X);
    job.RVec_Y = std::move(loaded.RVec_Y);
    job.RVec_Z = std::move(loaded.RVec_Z);

    job.IdenticalCount = loaded.IdenticalCount;
    job.McsCount = loaded.McsCount;
    job.OcsCount = loaded.OcsCount;
    job.McsOnlyCount = loaded.McsCount - loaded.IdenticalCount;
    job.OcsOnlyCount = loaded.OcsCount - loaded.IdenticalCount;
    job.UseFlags = std::move(loaded.UseFlags);

    job.ParamState = std::move(loaded.ParamState);
    job.Params = loaded.Params;
    job.RotXSeed = loaded.Params[kRotX];
    job.RotYSeed = loaded.Params[kRotY];
    job.RotZSeed = loaded.Params[kRotZ];
    job.RichtungMCStoOCS = loaded.RichtungMCStoOCS;
    job.AutoRecalc = false;
    job.MCSOCSGetauscht = false;

    job.LengthUnitName = std::move(loaded.LengthUnitName);
    job.AngleUnitName = std::move(loaded.AngleUnitName);
    job.DigitLength = loaded.DigitLength;
    job.DigitAngle = loaded.DigitAngle;
    job.NormMode = loaded.NormMode;

    job.SeedPointNames = std::move(loaded.SeedPointNames);
    job.SeedPointIndex = loaded.SeedPointIndex;
    job.NameMCS = std::move(loaded.NameMCS);
    job.NameOCS = std::move(loaded.NameOCS);
    job.MCS_FileName = std::move(loaded.MCS_FileName);
    job.OCS_FileName = std::move(loaded.OCS_FileName);

    job.GraphicsFlags.ViewAllMCS = loaded.GraphicsFlags.ViewAllMCS;
    job.GraphicsFlags.ViewAllOCS = loaded.GraphicsFlags.ViewAllOCS;
    job.GraphicsFlags.ViewAllonlyMCS = loaded.GraphicsFlags.ViewAllonlyMCS;
    job.GraphicsFlags.ViewAllonlyOCS = loaded.GraphicsFlags.ViewAllonlyOCS;

    job.ParaboloidMode = loaded.ParaboloidMode;
    job.ShapeProfile = std::move(loaded.ShapeProfile);
    job.SavedViews = std::move(loaded.SavedViews);
    job.ViewCount = loaded.ViewCount;
    job.SavedViewNames = std::move(loaded.SavedViewNames);
    job.KukaOcsMode = loaded.KukaOcsMode;
    job.QuatOcsMode = loaded.QuatOcsMode;
    job.OcsAngles = std::move(loaded.OcsAngles);

    job.DataLoaded = job.McsCount > 0 || job.OcsCount > 0;
    job.TrafoCalculated = false;
}

}  // namespace kal
