#include "shell/Manual.h"

#include <filesystem>
#include <system_error>

namespace kal {

namespace {
std::string inFolder(const std::string& folder) {
    const bool endsInSeparator = folder.back() == '/' || folder.back() == '\\';
    return folder + (endsInSeparator ? "" : "/") + kManualFileName;
}
}  // namespace

std::vector<std::string> manualPaths(const std::string& dataFolder, const std::string& programFolder) {
    std::vector<std::string> paths;
    for (const std::string* folder : {&dataFolder, &programFolder})
        if (!folder->empty()) paths.push_back(inFolder(*folder));
    return paths;
}

bool openManual(const std::vector<std::string>& paths, const std::function<bool(const std::string&)>& exists,
                platform::ShellOpener& opener, platform::Prompter& prompter) {
    for (const std::string& path : paths) {
        if (!exists(path)) continue;
        if (opener.openDocument(path)) return true;
        prompter.message(kCouldNotOpenPrefix + path);
        return false;
    }
    prompter.message(kCouldNotOpenPrefix + (paths.empty() ? std::string(kManualFileName) : paths.front()));
    return false;
}

bool openManual(const std::vector<std::string>& paths, platform::ShellOpener& opener,
                platform::Prompter& prompter) {
    const auto isFile = [](const std::string& path) {
        std::error_code ec;
        return std::filesystem::is_regular_file(path, ec);
    };
    return openManual(paths, isFile, opener, prompter);
}

}  // namespace kal
