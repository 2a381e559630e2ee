#include <gtest/gtest.h>

#include "shell/Manual.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kal {
namespace {

struct FakeOpener : platform::ShellOpener {
    bool openDocument(const std::string& path) override {
        opened.push_back(path);
        return works;
    }
    bool works = true;
    std::vector<std::string> opened;
};

TEST(Manual, LooksInTheDataFolderThenBesideTheProgram) {
    EXPECT_EQ(manualPaths("/home/u/.local/share/Kalvoreth", "/opt/kalvoreth/bin/"),
              (std::vector<std::string>{"/home/u/.local/share/Kalvoreth/manual Kalvoreth English 2.0.0.pdf",
                                        "/opt/kalvoreth/bin/manual Kalvoreth English 2.0.0.pdf"}));
    EXPECT_EQ(manualPaths("", "/opt/k"),
              (std::vector<std::string>{"/opt/k/manual Kalvoreth English 2.0.0.pdf"}));
}

// Which copy opens, and what the user is told, for each place the manual may be in.
TEST(Manual, OpensTheFirstCopyFoundAndSaysWhichFileCouldNotBeOpened) {
    struct Case {
        const char* name;
        bool inData, besideProgram, viewerWorks;
        int openedFolder;   // 0 data, 1 program, -1 none
        int messageFolder;  // the folder the message names, -1 no message
    };
    const Case cases[] = {
        {"both", true, true, true, 0, -1},
        {"beside the program only", false, true, true, 1, -1},
        {"missing", false, false, true, -1, 0},
        {"no viewer", false, true, false, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempDir data, program;
        if (c.inData) data.write(kManualFileName, "%PDF-1.4");
        if (c.besideProgram) program.write(kManualFileName, "%PDF-1.4");
        // A folder named like the manual is not the manual.
        if (!c.inData) std::filesystem::create_directory(data.file(kManualFileName));
        const std::vector<std::string> paths = manualPaths(data.path(), program.path());
        FakeOpener opener;
        opener.works = c.viewerWorks;
        testing::FakePrompter prompter;
        EXPECT_EQ(openManual(paths, opener, prompter), c.messageFolder < 0);
        if (c.openedFolder >= 0)
            EXPECT_EQ(opener.opened, std::vector<std::string>{paths[c.openedFolder]});
        else
            EXPECT_TRUE(opener.opened.empty());
        if (c.messageFolder >= 0)
            EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Could not open " + paths[c.messageFolder]});
        else
            EXPECT_TRUE(prompter.texts().empty());
    }
}

}  // namespace
}  // namespace kal
