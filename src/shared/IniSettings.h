#pragma once
// Reading every known key of the settings file into the job state: at start-up and when the
// Info window asks for a reload.
#include <string>
#include <vector>

#include "shared/JobState.h"

namespace kal {

// Reads the settings file at job.IniFilePath line by line, whatever section a key stands in (a
// later line overwrites an earlier one), into the settings variables, the graphics switches and
// the default view record (the "LocalGraphics" keys and one flag layout, "FahnenProp") (IniReadAll). "Wahr"
// and "Falsch" count as "True" and "False".
//
// A bad settings file never stops the program: a value that does not convert, or a unit name
// or digit count outside its table, skips its line and keeps the earlier value; each skipped
// line gives one warning in the returned list, for the caller to show once. Afterwards two
// repairs are written back: "ClipboardValue" other than 1..5 becomes 2, and a missing or zero
// "Omrivel_Etta" is written as 1E-09 (IterationThreshold itself stays 0: the solver reads 0 as
// 1e-9). A failed repair write is a warning too. Numbers are read back under either decimal
// separator. Throws FileError only when the file cannot be read at all.
std::vector<std::string> readAllIniSettings(JobState& job);

}  // namespace kal
