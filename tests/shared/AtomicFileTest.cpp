#include <gtest/gtest.h>

#include <filesystem>

#include "shared/AtomicFile.h"
#include "shared/Errors.h"
#include "support/TempDir.h"

namespace kal {
namespace {

namespace fs = std::filesystem;

TEST(AtomicFile, ReplacesTheWholeFileAndLeavesNoTemporary) {
    testing::TempDir dir;
    const std::string path = dir.write("job.txt", "a much longer old content");
    writeFileAtomically(path, "new");
    EXPECT_EQ(testing::TempDir::read(path), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
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

}  // namespace
}  // namespace kal
