#pragma once
// The calculation's least-squares solve (CalcHelmert) together with what it has to tell the user.
// The solver itself shows nothing; here its warnings become message boxes and its correction log
// goes to the clipboard, through the engine context's services. A Monte Carlo run's context has
// neither prompter nor clipboard, so the solves of a series stay quiet and only the final solve
// speaks.
#include "calculation/CalcSession.h"
#include "engine/EngineWarning.h"
#include "engine/LeastSquares.h"
#include "platform/Prompter.h"
#include "shared/JobState.h"

namespace kal {

// Shows one engine warning as its kind asks: the angle-unit warning as an OK/Cancel box whose
// Cancel sets WinkelWarnungGezeigt (no further warning until the flag is reset), the
// iteration-limit warning as an OK box.
void showEngineWarning(platform::Prompter& prompter, JobState& job, const EngineWarning& warning);

// Solves on the session's fields and parameter states: first the angle-unit warning (before the
// work, and so also before a failure it may explain), then the solve, then the correction log to
// the clipboard and the outcome's warnings in their order. A failure of the solve propagates.
HelmertOutcome solveShowingWarnings(CalcSession& s);

}  // namespace kal
