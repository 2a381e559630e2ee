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
    whenShown(c.w, [&] { c.w.okButton()->click(); });
    EXPECT_EQ(c.w.chooseFolder("Start folder", start), dir.path());
    EXPECT_EQ(c.w.promptLabel()->text(), "Start folder");
    EXPECT_EQ(c.w.windowTitle(), "Choose Directory");

    whenShown(c.w, [&] {
        c.w.highlight(dir.file("sub"));
        c.w.okButton()->click();
    });
    EXPECT_EQ(c.w.chooseFolder("Start folder", start), dir.file("sub"));
}

TEST(FormChangeDir, AbbruchAndTheCloseBoxReturnNothing) {
    testing::TempDir dir;
    Chooser c;
    std::string start = dir.path();
    whenShown(c.w, [&] { c.w.cancelButton()->click(); });
    EXPECT_EQ(c.w.chooseFolder("x", start), "");
    whenShown(c.w, [&] { c.w.close(); });
    EXPECT_EQ(c.w.chooseFolder("x", start), "");
    EXPECT_EQ(c.w.cancelButton()->text(), "Abbruch");
}

TEST(FormChangeDir, AnEmptyStartOpensHomeAndAGoneOneItsParent) {
    testing::TempDir dir;
    Chooser c;
    std::string start;
    whenShown(c.w, [&] { c.w.okButton()->click(); });
    EXPECT_EQ(c.w.chooseFolder("x", start), QDir::homePath().toStdString());
    EXPECT_EQ(start, QDir::homePath().toStdString());

    std::string gone = dir.file("gone/deeper");
    whenShown(c.w, [&] { c.w.okButton()->click(); });
    EXPECT_EQ(c.w.chooseFolder("x", gone), dir.path());
}

TEST(FormChangeDir, NewDirectoryIsMadeInTheHighlightedFolderAndOpened) {
    testing::TempDir dir;
    Chooser c;
    c.prompter.answerInput("made");
    std::string start = dir.path();
    whenShown(c.w, [&] {
        c.w.newFolderButton()->click();
        c.w.okButton()->click();
    });
    EXPECT_EQ(c.w.chooseFolder("x", start), dir.file("made"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("made")));
}

}  // namespace
}  // namespace kal
