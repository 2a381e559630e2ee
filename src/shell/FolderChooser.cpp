#include "shell/FolderChooser.h"

#include <filesystem>

namespace kal {

namespace fs = std::filesystem;

std::optional<std::string> joinFolder(const std::string& base, const std::string& name) {
    if (base.empty() || name.empty() || name == "." || name == ".." ||
        name.find_first_of("/\\") != std::string::npos)
        return std::nullopt;
    return (base.back() == '/' ? base : base + "/") + name;
}

std::string nearestExistingFolder(const std::string& folder) {
    if (folder.empty()) return folder;
    fs::path p(folder);
    std::error_code ec;
    while (!p.empty()) {
        if (fs::is_directory(p, ec)) return p.string();
        const fs::path parent = p.parent_path();
        if (parent == p) break;
        p = parent;
    }
    return "/";
}

std::optional<std::string> createNewDirectory(platform::Prompter& prompter, const std::string& base) {
    const auto name = prompter.input("Neues Verzeichnis erstellen in: " + base, "Verzeichnis erstellen", "");
    if (!name || name->empty()) return std::nullopt;
    const auto path = joinFolder(base, *name);
    std::error_code ec;
    if (!path || !fs::create_directory(*path, ec) || ec) {
        prompter.message("Could not create folder " + path.value_or(base + "/" + *name),
                         platform::Buttons::Ok, {}, platform::Icon::Exclamation);
        return std::nullopt;
    }
    return path;
}

}  // namespace kal
