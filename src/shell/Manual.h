#pragma once
// The manual behind Help > "Documentation" (F1): a PDF looked for first in the program's data
// folder ($XDG_DATA_HOME/Kalvoreth, where the program keeps the files it owns), then beside the
// executable, where an unpacked installation keeps it.
#include <functional>
#include <string>
#include <vector>

#include "platform/Prompter.h"
#include "platform/ShellOpen.h"

namespace kal {

inline constexpr const char* kManualFileName = "manual Kalvoreth English 2.0.0.pdf";
inline constexpr const char* kCouldNotOpenPrefix = "Could not open ";

// The places looked at, in order: the manual in `dataFolder`, then in `programFolder`. An empty
// folder is no place (a data folder the start-up could not settle).
std::vector<std::string> manualPaths(const std::string& dataFolder, const std::string& programFolder);

// (MenueHelpQuestion_Click) Opens the first of `paths` for which `exists` holds with the desktop's
// viewer. When none exists, or the viewer does not open it, one message says so: "Could not open "
// and the file that failed, or the first place looked at when there was none. Returns whether a
// viewer took the manual.
bool openManual(const std::vector<std::string>& paths, const std::function<bool(const std::string&)>& exists,
                platform::ShellOpener& opener, platform::Prompter& prompter);

// The same with the file system's answer: a regular file (or a link to one) at the path.
bool openManual(const std::vector<std::string>& paths, platform::ShellOpener& opener,
                platform::Prompter& prompter);

}  // namespace kal
