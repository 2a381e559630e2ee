#pragma once
// Scopes that make a save fail the way it fails for users: a folder the user may not write to
// (root passes permission checks, so the file-system identity becomes nobody for the scope) and a
// full disk (a file-size limit, with the signal that would end the process ignored).
#include <signal.h>
#include <sys/fsuid.h>
#include <sys/resource.h>

#include <filesystem>
#include <set>
#include <string>

namespace kal::testing {

class ReadOnlyFolderScope {
  public:
    explicit ReadOnlyFolderScope(const std::string& folder) : folder_(folder) {
        namespace fs = std::filesystem;
        fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
        previous_ = ::setfsuid(65534);
    }
    ~ReadOnlyFolderScope() {
        ::setfsuid(previous_);
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all);
    }

  private:
    std::string folder_;
    uid_t previous_ = 0;
};

class FileSizeLimitScope {
  public:
    explicit FileSizeLimitScope(rlim_t bytes) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGXFSZ, &ignore, &oldAction_);
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimitScope() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        ::sigaction(SIGXFSZ, &oldAction_, nullptr);
    }

  private:
    rlimit saved_{};
    struct sigaction oldAction_ {};
};

inline std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

}  // namespace kal::testing
