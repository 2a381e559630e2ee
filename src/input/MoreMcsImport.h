#pragma once
// The "more MCS" import of the input dialog: the points of a further MCS file are appended to the
// loaded job as MCS-only points (they have no partner) and put into the transformed set, through
// the current transformation when one is calculated, without a new load or calculation. The whole
// file is read and checked first; the job changes only when every line was read.
#include <string>

#include "platform/Prompter.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"

namespace kal {

// The more-MCS controls of the dialog.
struct MoreMcsRequest {
    std::string file;      // TextNameMoreMCS
    std::string affix;     // TextPreSuff
    bool asPrefix = true;  // OptionPrefix ("&Prefix"); false: Option2 ("&Suffix")
};

inline constexpr const char* kSelectMoreMcsFile = "Please select a File with the browse button";

// The name a point of the file gets: the affix before or after its name (the file's first column,
// or the point's number in the file when it has no name column).
std::string moreMcsName(const std::string& name, const MoreMcsRequest& request);

// The import (BtnImportMoreMCS_Click). True when points were appended: McsCount and McsOnlyCount
// grow by the points of the file, MCSt holds every MCS-only point again (transformed when
// TrafoCalculated, copied otherwise), JobDirty is set and PointsReplaced is published once. An
// empty file box, a file the check or the reader refuses, or a name that would stand twice in
// the MCS without an affix to tell it apart: the message, false, and the job as it was.
bool importMoreMcs(JobState& job, const MoreMcsRequest& request, platform::Prompter& prompter,
                   JobEvents* jobEvents);

}  // namespace kal
