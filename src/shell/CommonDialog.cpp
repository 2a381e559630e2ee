#include "shell/CommonDialog.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace kal {
namespace {

std::vector<std::string> splitBars(std::string_view s) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        auto bar = s.find('|', start);
        parts.emplace_back(
            s.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    return parts;
}

// Built into a new string rather than replaced in place: GCC 12 reports a false -Wrestrict
// overlap for std::string::replace here once it is inlined.
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string out;
    out.reserve(s.size());
    std::size_t start = 0;
    for (auto at = s.find(from); at != std::string_view::npos; at = s.find(from, start)) {
        out.append(s.substr(start, at - start)).append(to);
        start = at + from.size();
    }
    return out.append(s.substr(start));
}

std::string qtPattern(std::string pattern) {
    pattern = replaceAll(pattern, ";", " ");
    std::string out;
    std::size_t start = 0;
    while (start <= pattern.size()) {
        auto blank = pattern.find(' ', start);
        std::string one =
            pattern.substr(start, blank == std::string::npos ? std::string::npos : blank - start);
        if (one == "*.*") one = "*";
        if (!one.empty()) out += (out.empty() ? "" : " ") + one;
        if (blank == std::string::npos) break;
        start = blank + 1;
    }
    return out;
}

std::string startFolder(const std::string& folder) {
    std::error_code ec;
    if (!folder.empty() && std::filesystem::is_directory(folder, ec)) return folder;
    const char* home = std::getenv("HOME");
    return home ? std::string(home) : std::string("/");
}

}  // namespace

std::string qtFileFilter(std::string_view pairs) {
    auto parts = splitBars(pairs);
    std::string out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string desc = parts[i];
        const std::string& rawPattern = parts[i + 1];
        if (desc.empty() && rawPattern.empty()) continue;
        std::string pattern = qtPattern(rawPattern);
        std::string stated = "(" + rawPattern + ")";
        if (desc.find(stated) != std::string::npos)
            desc = replaceAll(desc, stated, "(" + pattern + ")");
        else
            desc += (desc.empty() ? "(" : " (") + pattern + ")";
        out += (out.empty() ? "" : ";;") + desc;
    }
    return out;
}

std::string folderWithSeparator(std::string_view path) {
    auto slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string showFileDialog(platform::FileDialogs& dialogs, JobState& job, const SettingsWriter& settings,
                           std::int16_t mode, const std::string& title, std::string_view filter,
                           const std::string& folder, const std::string& defaultExtension) {
    const std::string qtFilter = qtFileFilter(filter);
    const std::string start = startFolder(folder);
    std::optional<std::string> chosen = mode == kDialogSave
                                            ? dialogs.saveFile(title, qtFilter, start, defaultExtension)
                                            : dialogs.openFile(title, qtFilter, start);
    if (!chosen || chosen->empty()) return std::string();

    job.LastDialogFolder = folderWithSeparator(*chosen);
    if (settings) {
        try {
            settings("Roots", {{"LastDir", job.LastDialogFolder}});
        } catch (const std::exception&) {
            // The folder is only a convenience for the next dialog; the user's choice stands.
        }
    }
    return *chosen;
}

}  // namespace kal
