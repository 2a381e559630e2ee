#include "calculation/CalculationRollback.h"

namespace kal {

CalculationRollback::CalculationRollback(const JobState& job, const CalcResults& results,
                                         const ParameterPanel& panel)
    : params_(job.Params),
      rotXSeed_(job.RotXSeed),
      rotYSeed_(job.RotYSeed),
      rotZSeed_(job.RotZSeed),
      paramState_(job.ParamState),
      mcstName_(job.MCSt_Name),
      mcstX_(job.MCSt_X),
      mcstY_(job.MCSt_Y),
      mcstZ_(job.MCSt_Z),
      keepsOcs_(job.ParaboloidMode),
      mcRuns_(job.McRuns),
      mcOpenBySurface_(job.McOpenBySurface),
      mcBackupX_(job.McBackupX),
      mcBackupY_(job.McBackupY),
      mcBackupZ_(job.McBackupZ),
      mcCompleted_(job.McCompleted),
      sigmaXyz_(job.SigmaXyz),
      trafoCalculated_(job.TrafoCalculated),
      results_(results) {
    if (keepsOcs_) {
        ocsX_ = job.OCS_X;
        ocsY_ = job.OCS_Y;
        ocsZ_ = job.OCS_Z;
    }
    for (int k = 1; k <= kParamCount; ++k) valueTexts_[static_cast<std::size_t>(k)] = panel.row(k).valueText;
}

void CalculationRollback::restore(JobState& job, CalcResults& results, ParameterPanel& panel) const {
    job.Params = params_;
    job.RotXSeed = rotXSeed_;
    job.RotYSeed = rotYSeed_;
    job.RotZSeed = rotZSeed_;
    job.ParamState = paramState_;
    job.MCSt_Name = mcstName_;
    job.MCSt_X = mcstX_;
    job.MCSt_Y = mcstY_;
    job.MCSt_Z = mcstZ_;
    if (keepsOcs_) {
        job.OCS_X = ocsX_;
        job.OCS_Y = ocsY_;
        job.OCS_Z = ocsZ_;
    }
    job.McRuns = mcRuns_;
    job.McOpenBySurface = mcOpenBySurface_;
    job.McBackupX = mcBackupX_;
    job.McBackupY = mcBackupY_;
    job.McBackupZ = mcBackupZ_;
    job.McCompleted = mcCompleted_;
    job.SigmaXyz = sigmaXyz_;
    job.TrafoCalculated = trafoCalculated_;
    results = results_;
    for (int k = 1; k <= kParamCount; ++k) panel.setValueText(k, valueTexts_[static_cast<std::size_t>(k)]);
}

}  // namespace kal
