#include <gtest/gtest.h>

#include <filesystem>

#include "shell/FolderChooser.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kal {
namespace {

namespace fs = std::filesystem;

TEST(JoinFolder, OneSeparatorBetweenFolderAndName) {
    EXPECT_EQ(joinFolder("/", "x"), "/x");
    EXPECT_EQ(joinFolder("/a", "x"), "/a/x");
    EXPECT_EQ(joinFolder("/a/", "x"), "/a/x");
    EXPECT_EQ(joinFolder("/a", ""), std::nullopt);
}

TEST(JoinFolder, RefusesNamesThatLeaveTheFolder) {
    for (const char* name : {"..", ".", "b/c", "../x", "a\\b"})
        EXPECT_EQ(joinFolder("/a", name), std::nullopt) << name;
}

TEST(NearestExistingFolder, AMissingStartFolderOpensItsNearestParent) {
    testing::TempDir dir;
    EXPECT_EQ(nearestExistingFolder(dir.path()), dir.path());
    EXPECT_EQ(nearestExistingFolder(dir.file("gone/deeper")), dir.path());
    EXPECT_EQ(nearestExistingFolder("/no-such-root-folder/x"), "/");
}

TEST(CreateNewDirectory, CreatesTheNamedFolderAndReturnsIt) {
    testing::TempDir dir;
    testing::FakePrompter prompter;
    prompter.answerInput("results");
    EXPECT_EQ(createNewDirectory(prompter, dir.path()), dir.file("results"));
    EXPECT_TRUE(fs::is_directory(dir.file("results")));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Verzeichnis erstellen");
    EXPECT_EQ(prompter.shown()[0].text, "Neues Verzeichnis erstellen in: " + dir.path());
}

TEST(CreateNewDirectory, NoNameDoesNothingAndAFailureIsToldInsteadOfSkipped) {
    testing::TempDir dir;
    testing::FakePrompter prompter;
    prompter.answerInput(std::nullopt);
    prompter.answerInput("");
    EXPECT_EQ(createNewDirectory(prompter, dir.path()), std::nullopt);
    EXPECT_EQ(createNewDirectory(prompter, dir.path()), std::nullopt);
    EXPECT_EQ(prompter.shown().size(), 2u);  // the two input boxes only

    prompter.answerInput("..");
    EXPECT_EQ(createNewDirectory(prompter, dir.path()), std::nullopt);
    EXPECT_EQ(prompter.texts().back(), "Could not create folder " + dir.path() + "/..");

    dir.write("taken", "a file");
    prompter.answerInput("taken");
    EXPECT_EQ(createNewDirectory(prompter, dir.path()), std::nullopt);
    EXPECT_EQ(prompter.texts().back(), "Could not create folder " + dir.file("taken"));
}

}  // namespace
}  // namespace kal
