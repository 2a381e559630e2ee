#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>

#include "shared/AtomicFile.h"
#include "shared/Errors.h"
#include "support/TempDir.h"

namespace kal {
namespace {

namespace fs = std::filesystem;

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

mode_t modeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

TEST(AtomicFile, ReplacesTheWholeFileAndLeavesNoTemporary) {
    testing::TempDir dir;
    const std::string path = dir.write("job.txt", "a much longer old content");
    writeFileAtomically(path, "new");
    EXPECT_EQ(testing::TempDir::read(path), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
}

// Content given chunk by chunk arrives whole; a chunk source that throws (a Stop) leaves the old
// file and no temporary, and its exception passes on.
TEST(AtomicFile, ChunkedContentArrivesWholeAndAThrowingSourceChangesNothing) {
    testing::TempDir dir;
    const std::string path = dir.write("pairs.txt", "old");
    int calls = 0;
    writeFileAtomically(path, [&](std::string& chunk) {
        EXPECT_TRUE(chunk.empty());
        chunk = "line " + std::to_string(++calls) + "\r\n";
        return calls < 3;
    });
    EXPECT_EQ(testing::TempDir::read(path), "line 1\r\nline 2\r\nline 3\r\n");

    struct Stopped {};
    calls = 0;
    EXPECT_THROW(writeFileAtomically(path,
                                     [&](std::string& chunk) {
                                         chunk = "partial";
                                         if (++calls == 2) throw Stopped{};
                                         return true;
                                     }),
                 Stopped);
    EXPECT_EQ(testing::TempDir::read(path), "line 1\r\nline 2\r\nline 3\r\n");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"pairs.txt"});
}

// Run as root, a rename would silently replace a file nobody may write to.
TEST(AtomicFile, RefusesAReadOnlyTargetEvenForRootAndKeepsIt) {
    testing::TempDir dir;
    const std::string path = dir.write("locked.ini", "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_THROW(writeFileAtomically(path, "new"), FileError);
    fs::permissions(path, fs::perms::owner_all);
    EXPECT_EQ(testing::TempDir::read(path), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
}

TEST(AtomicFile, RefusesAnEmptyNameInsteadOfWritingIntoTheWorkingFolder) {
    EXPECT_THROW(writeFileAtomically("", "x"), FileError);
}

// A save through a link used to put a regular file in the link's place, leaving the file the
// link names with the old content while the save reported success.
TEST(AtomicFile, SavingThroughALinkReplacesTheFileItNamesAndKeepsTheLink) {
    testing::TempDir dir;
    fs::create_directory(dir.file("jobs"));
    const std::string real = dir.write("jobs/job.tfo", "old");
    fs::create_symlink("jobs/job.tfo", dir.file("link.tfo"));  // relative, taken from the link's folder
    fs::create_symlink(dir.file("link.tfo"), dir.file("chain.tfo"));  // a link to the link

    writeFileAtomically(dir.file("link.tfo"), "through the link");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.file("link.tfo"))));
    EXPECT_EQ(testing::TempDir::read(real), "through the link");

    writeFileAtomically(dir.file("chain.tfo"), "through the chain");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.file("chain.tfo"))));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.file("link.tfo"))));
    EXPECT_EQ(testing::TempDir::read(real), "through the chain");

    // The temporary was made beside the target, and nothing is left in either folder.
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"chain.tfo", "jobs", "link.tfo"}));
    EXPECT_EQ(namesIn(dir.file("jobs")), (std::set<std::string>{"job.tfo"}));

    // A link whose file does not exist yet: the save creates that file.
    fs::create_symlink("jobs/new.tfo", dir.file("dangling.tfo"));
    writeFileAtomically(dir.file("dangling.tfo"), "created");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.file("dangling.tfo"))));
    EXPECT_EQ(testing::TempDir::read(dir.file("jobs/new.tfo")), "created");

    // A loop of links is refused, not followed for ever.
    fs::create_symlink("b.tfo", dir.file("a.tfo"));
    fs::create_symlink("a.tfo", dir.file("b.tfo"));
    EXPECT_THROW(writeFileAtomically(dir.file("a.tfo"), "x"), FileError);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.file("a.tfo"))));
}

TEST(AtomicFile, ASaveOverAFileKeepsItsModeOwnerAndGroup) {
    testing::TempDir dir;
    for (mode_t mode : {0600, 0640, 0604, 0755, 0660}) {
        const std::string path = dir.write("job.tfo", "old");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        struct stat before {};
        ASSERT_EQ(::stat(path.c_str(), &before), 0);
        writeFileAtomically(path, "new");
        struct stat after {};
        ASSERT_EQ(::stat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, mode) << std::oct << mode;
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        EXPECT_EQ(testing::TempDir::read(path), "new");
    }
}

TEST(AtomicFile, ANewFileGetsTheModeTheUmaskGives) {
    testing::TempDir dir;
    const mode_t previous = ::umask(027);
    writeFileAtomically(dir.file("fresh.tfo"), "x");
    ::umask(previous);
    EXPECT_EQ(modeOf(dir.file("fresh.tfo")), 0640u);
}

// A save killed mid-write left its temporary; the next save of that file removes it, and only
// temporaries of that file that no save in progress holds.
TEST(AtomicFile, ALaterSaveRemovesWhatAnInterruptedSaveOfTheSameFileLeft) {
    testing::TempDir dir;
    const std::string path = dir.write("job.tfo", "old");
    dir.write("job.tfo.~saveAb3xY9", std::string(5000, 'j'));  // left by a killed save of job.tfo
    dir.write("job.tfo.~save000000", "");                      // another one
    dir.write("other.tfo.~saveAb3xY9", "o");                   // another file's temporary
    dir.write("job.tfo.~saveAb3", "short");                    // not the pattern
    dir.write("job.tfo.~saveAb3xY9z", "long");                 // not the pattern
    dir.write("job.tfo.~save-b3xY9", "sign");                  // not the pattern
    dir.write("job.tfo.bak", "backup");
    dir.write("myjob.tfo.~saveAb3xY9", "m");  // a name that merely ends like the target
    // A temporary some save holds right now (locked) is not a leftover.
    const std::string busy = dir.write("job.tfo.~saveBUSY42", "in progress");
    const int fd = ::open(busy.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);

    writeFileAtomically(path, "new");
    ::close(fd);

    EXPECT_EQ(testing::TempDir::read(path), "new");
    EXPECT_EQ(namesIn(dir.path()),
              (std::set<std::string>{"job.tfo", "other.tfo.~saveAb3xY9", "job.tfo.~saveAb3",
                                     "job.tfo.~saveAb3xY9z", "job.tfo.~save-b3xY9", "job.tfo.bak",
                                     "myjob.tfo.~saveAb3xY9", "job.tfo.~saveBUSY42"}));
}

TEST(AtomicFile, TemporaryNamesAreRecognisedByTheirTarget) {
    EXPECT_TRUE(isSaveTemporaryOf("a.tfo.~saveQ1w2E3", "a.tfo"));
    EXPECT_FALSE(isSaveTemporaryOf("a.tfo.~saveQ1w2E3", "b.tfo"));
    EXPECT_FALSE(isSaveTemporaryOf("xa.tfo.~saveQ1w2E3", "a.tfo"));
    EXPECT_FALSE(isSaveTemporaryOf("a.tfo.~saveQ1w2E", "a.tfo"));
    EXPECT_FALSE(isSaveTemporaryOf("a.tfo.~saveQ1w2E3.", "a.tfo"));
    EXPECT_FALSE(isSaveTemporaryOf("a.tfo.~saveQ1w/E3", "a.tfo"));
    EXPECT_FALSE(isSaveTemporaryOf("a.tfo", "a.tfo"));
}

// Under a file-size limit the kernel sends SIGXFSZ, whose default action ends the process with
// the job in memory. The save runs in a child with the signal at its default action, so a save
// that lets the signal through ends only the child, and the test sees it.
TEST(AtomicFile, AFileSizeLimitGivesAMessageAndKeepsTheOldFile) {
    testing::TempDir dir;
    const std::string path = dir.write("job.tfo", "old");
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeFds[0]);
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 4096;
        int code = 3;  // the save succeeded
        std::string message;
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            code = 4;
        } else {
            try {
                writeFileAtomically(path, std::string(100000, 'x'));
            } catch (const FileError& e) {
                message = e.what();
                code = 0;
            } catch (...) {
                code = 2;
            }
        }
        if (::write(pipeFds[1], message.data(), message.size()) < 0) code = 5;
        ::_exit(code);
    }
    ::close(pipeFds[1]);
    std::string message;
    char buf[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
        message.append(buf, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_FALSE(WIFSIGNALED(status)) << "the save was ended by signal " << WTERMSIG(status);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find("File too large"), std::string::npos) << message;
    EXPECT_EQ(testing::TempDir::read(path), "old");
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"job.tfo"}));
}

TEST(AtomicFile, AFolderAsTargetIsReportedAsAFolder) {
    testing::TempDir dir;
    fs::create_directory(dir.file("jobs.tfo"));
    fs::create_symlink("jobs.tfo", dir.file("link.tfo"));
    for (const std::string& path : {dir.file("jobs.tfo"), dir.file("link.tfo"), dir.path() + "/"}) {
        try {
            writeFileAtomically(path, "x");
            ADD_FAILURE() << path << " was written";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find("is a folder"), std::string::npos) << e.what();
        }
    }
    EXPECT_TRUE(fs::is_directory(dir.file("jobs.tfo")));
    EXPECT_TRUE(fs::is_empty(dir.file("jobs.tfo")));
}

}  // namespace
}  // namespace kal
