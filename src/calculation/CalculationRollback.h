#pragma once
// What a calculation may change, kept when it starts, so that a calculation that is refused or
// fails half-way leaves the job, the calculation's fields and the value boxes as they were.
// O(points): a copy of the transformed set (and of the OCS on the paraboloid flow, which
// replaces them by foot points), far below the cost of one solve.
#include <array>
#include <string>
#include <vector>

#include "calculation/ParameterPanel.h"
#include "engine/CalcResults.h"
#include "shared/JobState.h"

namespace kal {

class CalculationRollback {
  public:
    CalculationRollback(const JobState& job, const CalcResults& results, const ParameterPanel& panel);
    void restore(JobState& job, CalcResults& results, ParameterPanel& panel) const;

  private:
    std::array<double, kParamCount + 1> params_;
    double rotXSeed_, rotYSeed_, rotZSeed_;
    std::array<std::string, kParamCount + 1> paramState_;
    std::vector<std::string> mcstName_;
    TaggedArray mcstX_, mcstY_;
    std::vector<double> mcstZ_;
    bool keepsOcs_;
    TaggedArray ocsX_, ocsY_;
    std::vector<double> ocsZ_;
    std::array<std::vector<double>, kParamCount + 2> mcRuns_;
    std::array<bool, kParamCount + 1> mcOpenBySurface_;
    std::vector<double> mcBackupX_, mcBackupY_, mcBackupZ_;
    bool mcCompleted_;
    double sigmaXyz_;
    bool trafoCalculated_;
    CalcResults results_;
    std::array<std::string, kParamCount + 1> valueTexts_;
};

}  // namespace kal
