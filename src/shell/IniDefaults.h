#pragma once
// The settings a new installation starts with: the keys written when the settings file is
// missing, in the order they are written.
#include <string>
#include <vector>

#include "shared/IniFile.h"
#include "shared/JobState.h"

namespace kal {

// The 86 default keys: sections Global, GraphicsSettings, Settings and Window, in this order.
std::vector<IniEntry> iniDefaultEntries();

// The default file's text, as the keys written one by one into an empty file give it (CR LF,
// "[LastEntry]" last).
std::string iniDefaultText();

// Writes a new settings file at job.IniFilePath with the default keys, in one atomic write, and
// turns the deviation vectors' direction on (IniDateiAnlegen). Throws FileError when the file cannot be
// written.
void createIniFile(JobState& job);

// The settings the default file gives when it is read, set without any file: for a run whose
// settings file cannot be made or read.
void applyIniDefaults(JobState& job);

}  // namespace kal
