#include "input/PointFileIo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "shared/Errors.h"

namespace kal {

namespace fs = std::filesystem;

std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError(path, 0, "The file cannot be opened: " + std::string(std::strerror(errno)));
    std::string bytes;
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    if (size > 0) {
        bytes.resize(static_cast<std::size_t>(size));
        in.seekg(0, std::ios::beg);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) throw FileError(path, 0, "The file cannot be read");
    return bytes;
}

std::string backupPathFor(const std::string& path) {
    std::string backup = path + ".$";
    std::error_code ec;
    while (fs::exists(backup, ec)) backup += ".$";
    return backup;
}

std::string replaceFileKeepingBackup(const std::string& path, std::string_view bytes) {
    const std::string temp = path + ".kalvoreth-tmp";
    {
        std::FILE* f = std::fopen(temp.c_str(), "wb");
        if (!f) throw FileError(path, 0, "The file cannot be written: " + std::string(std::strerror(errno)));
        bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        ok = (std::fflush(f) == 0) && ok;
        ok = (std::fclose(f) == 0) && ok;
        if (!ok) {
            std::remove(temp.c_str());
            throw FileError(path, 0, "The file cannot be written completely; it was left unchanged");
        }
    }
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
