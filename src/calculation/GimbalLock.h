#pragma once
// The gimbal-lock warning of the calculation window. When rot y' (the second rotation of the
// x-y'-z'' sequence) comes close to ±90° while rot x and rot z'' are both estimated, x and z turn
// about the same axis and their split is arbitrary: the box turns red and the user is offered to
// hold rot x at 0 and calculate again.
//
// The rot y' box changes while a calculation writes its results (and between the steps of a
// paraboloid iteration). The question is therefore never asked where the change happens: the box
// is coloured at once and the question waits until no calculation runs, and then is asked once,
// however many changes led to it. Yes runs exactly one calculation, also with automatic
// recalculation on.
#include <string>

#include "calculation/CalculationFlow.h"
#include "platform/Prompter.h"
#include "shared/JobState.h"

namespace kal {

inline constexpr const char* kGimbalLockTitle = "Multiple Solution Warning - Gimbal Lock";
extern const char* const kGimbalLockQuestion;

// True when |(|v / angleFactor|) − π/2| < border (radians, strictly) and rot x and rot z'' are both
// estimated; v is the box text read as an angle box is read (a degrees-minutes-seconds text
// converted first, "float" and "not used" as 0).
bool gimbalLockNear(const std::string& rotYText, double angleFactor, double border, bool rotXEstimated,
                    bool rotZEstimated);

class GimbalLockWatch {
  public:
    // The check on a change of the rot y' box (TextRotY_Change): true when the box is to be red
    // (then the question waits), false for a white box (and a waiting question is dropped).
    bool check(const JobState& job, const ParameterPanel& panel);
    bool questionPending() const { return pending_; }

    // Asks the waiting question when no calculation runs; while one runs it keeps waiting. On Yes:
    // rot x unticked and held at "0", then one calculation. Returns true when it asked.
    bool askPending(CalculationFlow& flow, JobState& job, platform::Prompter& prompter);

  private:
    bool pending_ = false;
    bool asking_ = false;
};

}  // namespace kal
