#include <gtest/gtest.h>

#include <filesystem>

#include "shared/FileHelpers.h"
#include "support/TempDir.h"

namespace kal {
namespace {

using testing::TempDir;

TEST(FileHelpers, FileAndFolderTests) {
    TempDir dir;
    const std::string file = dir.write("p.txt", "x");
    std::filesystem::create_directories(dir.file("sub"));
    EXPECT_TRUE(isRegularFile(file));
    EXPECT_TRUE(fileExists(file));
    EXPECT_FALSE(isRegularFile(dir.file("sub")));  // a folder is no file
    EXPECT_FALSE(isRegularFile(dir.file("none.txt")));
    EXPECT_FALSE(isRegularFile(""));
    EXPECT_TRUE(folderOrFileExists(dir.file("sub")));
    EXPECT_TRUE(folderOrFileExists(file));  // the lookup admits ordinary files too
    EXPECT_FALSE(folderOrFileExists(dir.file("none")));
    EXPECT_FALSE(folderOrFileExists(""));
    EXPECT_FALSE(fileExists(std::string("a\0b", 3)));  // a failed lookup is "not existing"
    EXPECT_FALSE(isRegularFile(file + "/below"));
}

TEST(FileHelpers, FolderOfPathTakesEitherSeparator) {
    struct Case {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\a\\b.txt", "C:\\a\\"},
        {"C:\\a\\b\\", "C:\\a\\"},
        {"C:\\a\\", "C:\\"},
        {"/home/u/x.tfo", "/home/u/"},
        {"/home/u/", "/home/"},
        {"/x", "/"},
        {"/", ""},
        {"b.txt", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(folderOfPath(c.path), c.folder) << c.path;
}

}  // namespace
}  // namespace kal
