#pragma once
// The info window's texts and its "load ini File" reload.
#include <functional>
#include <string>
#include <vector>

#include "shared/JobState.h"
#include "shared/Units.h"

namespace kal {

// The maker's web page and the support address the window offers.
inline constexpr const char* kMakerWebPage = "https://kalvoreth.example.org";
inline constexpr const char* kSupportMailAddress = "support@kalvoreth.example.org";

// "Version 2.0.63" (LabelVersion).
std::string versionLabelText();

// The support mail link: "mailto:" + address + "?Subject=Kalvoreth issue&Body=" and a body of the
// program's version numbers, each on a line of its own, and a salutation. Line breaks are written
// "%0A" and nothing else is escaped; whoever opens it must take the text as it stands (never encode
// it a second time, which would turn "%0A" into "%250A").
std::string supportMailLink(const std::string& address);

// "load ini File": every key of the settings file is read into the job again (IniReadAll); then the
// factors and formats follow the units read (RhoFestlegung, the names shown through `showUnits`)
// and `refreshCommands` brings the menus in step (ProgrammLogik), so names and factors never
// disagree. Open windows are not refreshed. A settings file that is missing or cannot be read
// changes nothing and gives a message; the returned list holds the messages for the user (the
// read's skipped lines included), empty when all went well.
std::vector<std::string> reloadSettingsFile(JobState& job, const UnitPanels& showUnits,
                                            const std::function<void()>& refreshCommands);

}  // namespace kal
