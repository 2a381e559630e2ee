#pragma once
// The file flow of the common dialogs: an open or save dialog through the platform layer that
// remembers the folder of the chosen file (LastDialogFolder, INI key "LastDir" of "[Roots]").
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileDialogs.h"
#include "shared/JobState.h"
#include "shell/SettingsWriter.h"

namespace kal {

inline constexpr std::int16_t kDialogOpen = 1001;
inline constexpr std::int16_t kDialogSave = 1002;

// "desc|pattern|desc|pattern|" to Qt's "desc (pattern);;desc (pattern)": the description stays,
// "(pattern)" is added only when missing, "*.*" becomes "*" (every file, with or without a dot),
// ";" between patterns becomes a blank, and the trailing empty pair is dropped.
std::string qtFileFilter(std::string_view pairs);

// The folder of a path with its trailing "/"; "" for a path without a folder.
std::string folderWithSeparator(std::string_view path);

// Shows the open (kDialogOpen) or save (kDialogSave) dialog starting in `folder` (a folder that
// does not exist, as from an old settings file, falls back to the home folder) (ShowFileDialog). Returns the
// chosen path, or "" when cancelled. A chosen file sets job.LastDialogFolder and writes it as "LastDir" of
// "[Roots]"; a failing write is ignored, the choice stands.
std::string showFileDialog(platform::FileDialogs& dialogs, JobState& job, const SettingsWriter& settings,
                           std::int16_t mode, const std::string& title, std::string_view filter,
                           const std::string& folder, const std::string& defaultExtension);

}  // namespace kal
