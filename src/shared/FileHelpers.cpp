#include "shared/FileHelpers.h"

#include <filesystem>

namespace kal {

bool isRegularFile(std::string_view datei) {
    if (datei.empty()) return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::path(datei), ec);
}

bool fileExists(std::string_view path) { return isRegularFile(path); }

bool folderOrFileExists(std::string_view Directory) {
    if (Directory.empty()) return false;
    std::error_code ec;
    const auto status = std::filesystem::status(std::filesystem::path(Directory), ec);
    return !ec && (std::filesystem::is_directory(status) || std::filesystem::is_regular_file(status));
}

std::string folderOfPath(std::string_view path) {
    if (path.empty()) return std::string();
    const std::size_t cut = path.substr(0, path.size() - 1).find_last_of("/\\");
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string pathBesideJobFile(const std::string& stored, const std::string& jobFile) {
    namespace fs = std::filesystem;
    if (stored.empty() || !fileExists(jobFile)) return stored;
    std::string slashed = stored;
    for (char& c : slashed)
        if (c == '\\') c = '/';
    const fs::path relative(slashed);
    if (relative.is_absolute()) return stored;
    std::error_code ec;
    const fs::path folder = fs::absolute(fs::path(jobFile), ec).parent_path();
    if (ec) return stored;
    const std::string beside = (folder / relative).lexically_normal().string();
    return fileExists(beside) ? beside : stored;
}

}  // namespace kal
