#include "shared/AtomicFile.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

#include "shared/Errors.h"

namespace kal {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f) std::fclose(f);
    }
};

std::string reason(int err) { return err ? std::string(std::strerror(err)) : std::string("unknown error"); }

// A name beside the target that no other writer uses at the same moment.
std::string temporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    static const unsigned long long seed = std::random_device{}();
    return path + ".tmp" + std::to_string(seed % 1000000) + "-" + std::to_string(counter++);
}

}  // namespace

std::string readFileBytes(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) throw FileError(path, 0, "cannot be opened: " + reason(errno));
    std::string bytes;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) bytes.append(buf, n);
    if (std::ferror(f.get())) throw FileError(path, 0, "cannot be read: " + reason(errno));
    return bytes;
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    if (path.empty()) throw FileError(path, 0, "no file name given");
    // A file nobody may write to is refused as an ordinary save would be, even for root,
    // instead of being replaced through the rename.
    std::error_code statErr;
    const auto st = std::filesystem::status(path, statErr);
    if (!statErr && std::filesystem::exists(st)) {
        using std::filesystem::perms;
        if (std::filesystem::is_directory(st)) throw FileError(path, 0, "is a folder");
        if ((st.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) ==
            perms::none)
            throw FileError(path, 0, "is read-only");
    }
    std::string temp;
    std::FILE* raw = nullptr;
    for (int attempt = 0; attempt < 10 && !raw; ++attempt) {
        temp = temporaryNameFor(path);
        raw = std::fopen(temp.c_str(), "wbx");  // exclusive: never another writer's file
        if (!raw && errno != EEXIST) break;
    }
    if (!raw) throw FileError(path, 0, "cannot be written: " + reason(errno));
    std::unique_ptr<std::FILE, FileCloser> f(raw);
    // Flushed to the disk before the rename, so a crash leaves either the old file or the new one.
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size() &&
                         std::fflush(f.get()) == 0 && ::fsync(::fileno(f.get())) == 0;
    const int writeErr = errno;
    const bool closed = std::fclose(f.release()) == 0;
    std::error_code ec;
    if (!written || !closed) {
        std::filesystem::remove(temp, ec);
        throw FileError(path, 0, "cannot be written: " + reason(written ? errno : writeErr));
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw FileError(path, 0, "cannot be replaced: " + ec.message());
    }
}

}  // namespace kal
