#include "shell/HelpInfo.h"

#include <filesystem>

#include "shared/IniSettings.h"
#include "shared/Version.h"

namespace kal {

std::string versionLabelText() { return "Version " + versionText(); }

std::string supportMailLink(const std::string& address) {
    const std::string lineBreak = "%0A";
    std::string body = "Kalvoreth Parameter (do not delete)";
    for (int number : {kVersionMajor, kVersionMinor, kVersionRevision})
        body += lineBreak + std::to_string(number);
    body += lineBreak + lineBreak + "Dear Kalvoreth Team, " + lineBreak + lineBreak;
    return "mailto:" + address + "?Subject=" + "Kalvoreth issue" + "&Body=" + body;
}

std::vector<std::string> reloadSettingsFile(JobState& job, const UnitPanels& showUnits,
                                            const std::function<void()>& refreshCommands) {
    std::error_code ec;
    if (job.IniFilePath.empty() || !std::filesystem::is_regular_file(job.IniFilePath, ec))
        return {"The settings file " + job.IniFilePath + " does not exist; the settings stay as they are."};
    std::vector<std::string> messages;
    try {
        messages = readAllIniSettings(job);
    } catch (const std::exception& e) {
        return {"The settings file could not be read: " + std::string(e.what())};
    }
    const auto unitWarnings = applyUnitSettings(job, showUnits);
    messages.insert(messages.end(), unitWarnings.begin(), unitWarnings.end());
    if (refreshCommands) refreshCommands();
    return messages;
}

}  // namespace kal
