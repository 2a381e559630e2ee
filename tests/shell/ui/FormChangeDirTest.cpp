#include <gtest/gtest.h>

#include <QDir>
#include <QTimer>
#include <filesystem>

#include "shell/ui/FormChangeDir.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kal {
namespace {

// Runs `act` once the chooser shows, so a test never waits on a person.
void whenShown(FormChangeDir& w, std::function<void()> act) {
    auto* timer = new QTimer(&w);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, &w, act] {
        if (!w.isVisible()) return;
        timer->stop();
        act();
    });
    timer->start();
}

struct Chooser {
    Chooser() : positions(job), w(prompter, positions) {}
    JobState job;
    testing::FakePrompter prompter;
    WindowPositions positions;
    FormChangeDir w;
};

TEST(FormChangeDir, OkReturnsTheStartFolderOrTheSubFolderClicked) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir.file("sub"));
    Chooser c;
    std::string start = dir.path();
    whenShown(c.w, [&] { c.w.command1()->click(); });
    EXPECT_EQ(c.w.DirName("Start folder", start), dir.path());
    EXPECT_EQ(c.w.label1()->text(), "Start folder");
    EXPECT_EQ(c.w.windowTitle(), "Choose Directory");

    whenShown(c.w, [&] {
        c.w.highlight(dir.file("sub"));
        c.w.command1()->click();
    });
    EXPECT_EQ(c.w.DirName("Start folder", start), dir.file("sub"));
}

TEST(FormChangeDir, AbbruchAndTheCloseBoxReturnNothing) {
    testing::TempDir dir;
    Chooser c;
    std::string start = dir.path();
    whenShown(c.w, [&] { c.w.command2()->click(); });
    EXPECT_EQ(c.w.DirName("x", start), "");
    whenShown(c.w, [&] { c.w.close(); });
    EXPECT_EQ(c.w.DirName("x", start), "");
    EXPECT_EQ(c.w.command2()->text(), "Abbruch");
}

TEST(FormChangeDir, AnEmptyStartOpensHomeAndAGoneOneItsParent) {
    testing::TempDir dir;
    Chooser c;
    std::string start;
    whenShown(c.w, [&] { c.w.command1()->click(); });
    EXPECT_EQ(c.w.DirName("x", start), QDir::homePath().toStdString());
    EXPECT_EQ(start, QDir::homePath().toStdString());

    std::string gone = dir.file("gone/deeper");
    whenShown(c.w, [&] { c.w.command1()->click(); });
    EXPECT_EQ(c.w.DirName("x", gone), dir.path());
}

TEST(FormChangeDir, NewDirectoryIsMadeInTheHighlightedFolderAndOpened) {
    testing::TempDir dir;
    Chooser c;
    c.prompter.answerInput("made");
    std::string start = dir.path();
    whenShown(c.w, [&] {
        c.w.command3()->click();
        c.w.command1()->click();
    });
    EXPECT_EQ(c.w.DirName("x", start), dir.file("made"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("made")));
}

}  // namespace
}  // namespace kal
