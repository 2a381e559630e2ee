#include "calculation/ShownSolve.h"

namespace kal {

void showEngineWarning(platform::Prompter& prompter, JobState& job, const EngineWarning& warning) {
    switch (warning.kind) {
        case EngineWarning::Kind::AngleUnits:
            if (prompter.message(warning.text, platform::Buttons::OkCancel, warning.title) ==
                platform::Answer::Cancel)
                job.WinkelWarnungGezeigt = true;
            break;
        case EngineWarning::Kind::IterationLimit:
            prompter.message(warning.text, platform::Buttons::Ok, warning.title);
            break;
    }
}

HelmertOutcome solveShowingWarnings(CalcSession& s) {
    platform::Prompter* prompter = s.engine.services.prompter;
    if (prompter)
        if (const auto warning = AngleUnitWarning(s.job)) showEngineWarning(*prompter, s.job, *warning);
    HelmertOutcome out = solveLeastSquares(s.job, s.results, s.job.ParamState, s.engine);
    if (out.correctionLog && s.engine.services.clipboard)
        s.engine.services.clipboard->setText(*out.correctionLog);
    if (prompter)
        for (const EngineWarning& warning : out.warnings)
            if (!(s.startOnly && warning.kind == EngineWarning::Kind::IterationLimit))
                showEngineWarning(*prompter, s.job, warning);
    return out;
}

}  // namespace kal
