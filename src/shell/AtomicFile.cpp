#include "shell/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "shared/Errors.h"

namespace kal {
namespace {

std::string folderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

[[noreturn]] void failWith(const std::string& path, int error) {
    throw FileError(path, 0, std::strerror(error));
}

void syncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: the rename is already done
    ::close(fd);
}

}  // namespace

void replaceFileAtomically(const std::string& requested, std::string_view bytes) {
    std::string path = requested;
    struct stat st {};
    bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) throw FileError(requested, 0, "This is a folder, not a file");
    struct stat lst {};
    if (::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved)) path = resolved;
    }

    std::string tmp = path + ".XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) failWith(requested, errno);

    auto abandon = [&](int error) {
        ::close(fd);
        ::unlink(tmp.c_str());
        failWith(requested, error);
    };

    mode_t mode = 0;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) abandon(errno);

    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            abandon(errno);
        }
        if (n == 0) abandon(EIO);
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) abandon(errno);
    if (::close(fd) != 0) {
        int error = errno;
        ::unlink(tmp.c_str());
        failWith(requested, error);
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        int error = errno;
        ::unlink(tmp.c_str());
        failWith(requested, error);
    }
    syncFolder(folderOf(path));
}

std::string readJobFileBytes(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) failWith(path, errno);
    std::string data;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw FileError(path, 0, "This is a folder, not a file");
    }
    if (st.st_size > 0) data.reserve(static_cast<std::size_t>(st.st_size));
    char buf[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            int error = errno;
            ::close(fd);
            failWith(path, error);
        }
        if (n == 0) break;
        data.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return data;
}

}  // namespace kal
