#pragma once
// What the three exports ask of the program around them. Every file is written atomically
// (temporary file beside the target, then renamed): a failed export says why, leaves the old file
// as it was and no temporary file behind.
#include <functional>
#include <optional>
#include <string>

#include "platform/FileDialogs.h"
#include "platform/Prompter.h"

namespace kal {

// The placeholder name of a job without a file of its own; no export derives a name from it.
inline constexpr const char* kUntitledJobName = "..\\default.tfo";

struct ExportServices {
    platform::Prompter* prompter = nullptr;
    platform::FileDialogs* fileDialogs = nullptr;
    // Stores one INI value (section, key, value); empty: settings are not stored.
    std::function<void(const std::string& section, const std::string& key, const std::string& value)>
        writeSetting;
    // Hands a written file to the desktop to be opened (the RobCad export).
    std::function<void(const std::string& path)> openFile;
    // Closes the details window when it is open (the RobCad export ends with it closed).
    std::function<void()> closeDetails;
    // The hourglass on (true) and off (false) around a long write.
    std::function<void(bool busy)> showBusy;
};

enum class ExportOutcome {
    Refused,    // no calculation, or no name to derive a file from: a message and nothing else
    Cancelled,  // the user cancelled a dialog or declined to replace a file: nothing written
    Written,
    Failed,  // the file could not be written: a message said why, the old file is intact
};

// Writes `bytes` to `path` atomically; the reason when it failed, else nullopt.
std::optional<std::string> tryWriteExportFile(const std::string& path, const std::string& bytes);
// Shows why a file could not be written.
void showWriteFailure(const std::string& why, platform::Prompter* prompter);
// tryWriteExportFile, then showWriteFailure on failure; true when written.
bool writeExportFile(const std::string& path, const std::string& bytes, platform::Prompter* prompter);

// The portable "File <name> is existing. Will you replace it?" question; true on Yes.
bool askReplaceExisting(const std::string& path, platform::Prompter* prompter);

}  // namespace kal
