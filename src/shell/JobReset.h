#pragma once
// The job reset that start-up, New, Open and the point load share: the job becomes empty (no
// points, not calculated) under its current name, or "..\default.tfo" when it has none. Units,
// settings, point arrays, parameters, saved views, recent files and JobDirty keep their values;
// whoever loads a job overwrites what it loads.
#include "shared/JobState.h"
#include "shell/MainWindowView.h"

namespace kal {

// The name of a job without a file of its own. Shown as it is; saving it asks for a name.
inline constexpr const char* kUntitledJobFile = "..\\default.tfo";

// Each step stands alone: one that fails is skipped and the next one runs (Initialisieren).
void initializeJob(JobState& job, MainWindowView& view);

}  // namespace kal
