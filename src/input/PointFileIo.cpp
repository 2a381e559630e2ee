#include "input/PointFileIo.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "shared/Errors.h"

namespace kal {

namespace fs = std::filesystem;

std::string backupPathFor(const std::string& path) {
    std::string backup = path + ".$";
    std::error_code ec;
    while (fs::exists(backup, ec)) backup += ".$";
    return backup;
}

std::string replaceFileKeepingBackup(const std::string& path, std::string_view bytes) {
    // The new text is complete on disk before the original is touched.
    const std::string temp = path + ".kalvoreth-new";
    writeFileAtomically(temp, bytes);
    const std::string backup = backupPathFor(path);
    std::error_code ec;
    fs::rename(path, backup, ec);
    if (ec) {
        std::remove(temp.c_str());
        throw FileError(path, 0, "The backup " + backup + " cannot be made: " + ec.message());
    }
    fs::rename(temp, path, ec);
    if (ec) {
        // Put the original back so the file keeps its name; the new text stays in the temporary file.
        std::error_code ignored;
        fs::rename(backup, path, ignored);
        throw FileError(path, 0, "The rewritten file cannot take the place of the original: " + ec.message());
    }
    return backup;
}

}  // namespace kal
