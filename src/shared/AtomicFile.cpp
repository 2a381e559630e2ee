#include "shared/AtomicFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>

#include "shared/Errors.h"

namespace kal {

namespace {

namespace fs = std::filesystem;

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f) std::fclose(f);
    }
};

std::string reason(int err) {
    if (err == EFBIG)
        return std::strerror(err) + std::string(" (the file-size limit of this session was reached)");
    return err ? std::string(std::strerror(err)) : std::string("unknown error");
}

constexpr std::string_view kTemporaryMark = ".~save";
constexpr std::size_t kTemporaryLetters = 6;
constexpr int kMaxLinkHops = 40;

bool isLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// targetName + ".~save" + six random letters or digits; the caller creates it exclusively.
std::string temporaryNameFor(const std::string& targetName) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937 rng{std::random_device{}()};
    std::string name = targetName + std::string(kTemporaryMark);
    for (std::size_t i = 0; i < kTemporaryLetters; ++i) name += kLetters[rng() % (sizeof kLetters - 1)];
    return name;
}

// A file descriptor closed on every way out.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

  private:
    int fd_;
};

// A save holds an exclusive lock on its temporary while it exists, so a temporary nobody holds
// locked is what a killed or crashed save left behind; only those are removed.
void removeLeftoversOf(const fs::path& folder, const std::string& targetName) {
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
    if (ec) return;
    for (const auto& entry : it) {
        const std::string name = entry.path().filename().string();
        if (!isSaveTemporaryOf(name, targetName)) continue;
        std::error_code typeErr;
        if (!entry.is_regular_file(typeErr) || entry.is_symlink(typeErr)) continue;
        Descriptor fd(::open(entry.path().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (fd.get() < 0) continue;
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;  // a save in progress
        ::unlink(entry.path().c_str());
    }
}

bool writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The old file's owner, group and mode go to the new one. Owner and group only where the system
// lets this user set them (a file of another user saved by its group, for instance, keeps what the
// save can keep); the mode always, after the owner, as a change of owner may clear set-id bits.
void keepOwnerAndMode(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        [[maybe_unused]] int ignored = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    ::fchmod(fd, old.st_mode & 07777);
}

// The folder's entry for the new file reaches the disk too; a failure here loses nothing that
// the rename has not already made visible.
void syncFolder(const fs::path& folder) {
    Descriptor fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) ::fsync(fd.get());
}

}  // namespace

void ignoreFileSizeLimitSignal() { std::signal(SIGXFSZ, SIG_IGN); }

bool isSaveTemporaryOf(std::string_view name, std::string_view targetName) {
    if (name.size() != targetName.size() + kTemporaryMark.size() + kTemporaryLetters) return false;
    if (name.substr(0, targetName.size()) != targetName) return false;
    if (name.substr(targetName.size(), kTemporaryMark.size()) != kTemporaryMark) return false;
    for (char c : name.substr(targetName.size() + kTemporaryMark.size()))
        if (!isLetterOrDigit(c)) return false;
    return true;
}

std::string finalSaveTarget(const std::string& path) {
    fs::path p = path;
    for (int hops = 0; hops <= kMaxLinkHops; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec))) return p.string();
        fs::path next = fs::read_symlink(p, ec);
        if (ec) throw FileError(path, 0, "the symbolic link cannot be read: " + ec.message());
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    throw FileError(path, 0, "cannot be written: too many levels of symbolic links");
}

std::string readFileBytes(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) throw FileError(path, 0, "cannot be opened: " + reason(errno));
    std::string bytes;
    // Read at once into a string of the file's size: growing it chunk by chunk copies a large
    // file several times over. A file that changes meanwhile is read to its end all the same.
    struct stat st {};
    if (::fstat(fileno(f.get()), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        bytes.resize(static_cast<std::size_t>(st.st_size));
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f.get()));
    }
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) bytes.append(buf, n);
    if (std::ferror(f.get())) throw FileError(path, 0, "cannot be read: " + reason(errno));
    return bytes;
}

namespace {

// The save itself: `nextPiece` gives the bytes piece by piece and nullopt after the last one.
void writePiecesAtomically(const std::string& path,
                           const std::function<std::optional<std::string_view>()>& nextPiece) {
    if (path.empty()) throw FileError(path, 0, "no file name given");
    ignoreFileSizeLimitSignal();

    // Saving through a link replaces the file it names, beside that file, and keeps the link.
    const fs::path target = finalSaveTarget(path);
    const fs::path folder = target.parent_path();
    const std::string targetName = target.filename().string();
    if (targetName.empty() || targetName == "." || targetName == "..")
        throw FileError(path, 0, "is a folder");

    std::optional<struct stat> old;
    {
        struct stat st {};
        if (::stat(target.c_str(), &st) == 0) old = st;
    }
    if (old) {
        if (S_ISDIR(old->st_mode)) throw FileError(path, 0, "is a folder");
        // A file nobody may write to is refused as an ordinary save would be, even for root,
        // instead of being replaced through the rename.
        if ((old->st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) throw FileError(path, 0, "is read-only");
    }

    removeLeftoversOf(folder, targetName);

    fs::path temp;
    Descriptor fd;
    for (int attempt = 0; attempt < 10 && fd.get() < 0; ++attempt) {
        temp = folder / temporaryNameFor(targetName);
        // Exclusive: never another writer's file. Mode 0666 less the umask, as for any new file.
        fd.reset(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.get() < 0 && errno != EEXIST) break;
    }
    if (fd.get() < 0) throw FileError(path, 0, "cannot be written: " + reason(errno));
    // Held until the temporary is renamed or removed: marks it as a save in progress.
    ::flock(fd.get(), LOCK_EX | LOCK_NB);

    auto giveUp = [&](const std::string& what, int err) {
        fd.reset();
        ::unlink(temp.c_str());
        throw FileError(path, 0, what + reason(err));
    };
    if (old) keepOwnerAndMode(fd.get(), *old);
    // Content given in pieces is flushed to the disk every few tens of megabytes, so the final
    // flush of a file of gigabytes does not hold the caller for seconds between two pieces.
    constexpr std::size_t kSyncEvery = std::size_t{32} << 20;
    std::size_t unsynced = 0;
    bool firstPiece = true;
    for (;;) {
        std::optional<std::string_view> piece;
        try {
            piece = nextPiece();
        } catch (...) {
            fd.reset();
            ::unlink(temp.c_str());
            throw;
        }
        if (!piece) break;
        if (!writeAll(fd.get(), *piece)) giveUp("cannot be written: ", errno);
        unsynced += piece->size();
        if (!firstPiece && unsynced >= kSyncEvery) {
            if (::fdatasync(fd.get()) != 0) giveUp("cannot be written: ", errno);
            unsynced = 0;
        }
        firstPiece = false;
    }
    // Flushed to the disk before the rename, so a crash leaves either the old file or the new one.
    if (::fsync(fd.get()) != 0) giveUp("cannot be written: ", errno);
    if (::rename(temp.c_str(), target.c_str()) != 0) giveUp("cannot be replaced: ", errno);
    syncFolder(folder);
}

}  // namespace

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    bool given = false;
    writePiecesAtomically(path, [&]() -> std::optional<std::string_view> {
        if (given) return std::nullopt;
        given = true;
        return bytes;
    });
}

void writeFileAtomically(const std::string& path, const std::function<bool(std::string& chunk)>& nextChunk) {
    std::string chunk;
    bool more = true;
    writePiecesAtomically(path, [&]() -> std::optional<std::string_view> {
        if (!more) return std::nullopt;
        chunk.clear();
        more = nextChunk(chunk);
        return std::string_view(chunk);
    });
}

}  // namespace kal
