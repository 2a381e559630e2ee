// The "&Views" commands, the saved-view list, the Last / Next controls and the graphics options
// in the program, with a stand-in graphics window that keeps an undo ring as the real one does.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QToolButton>

#include "app/ViewRecordWindows.h"
#include "shared/IniFile.h"
#include "support/FakePlatform.h"
#include "support/SampleJobs.h"
#include "support/TempDir.h"
#include "view3d/ViewHistory.h"

namespace kal {
namespace {

// A graphics window reduced to its view, its ring and the history operations.
class RingWindow : public GraphicsWindow, public ViewRecordHost {
  public:
    ScreenProperties view = testing::makeView(1);
    UndoRing ring;
    JobState& job;
    ViewHistoryHooks hooks;
    int redraws = 0;

    RingWindow(JobState& j, ViewRecordWindows& records) : job(j) {
        hooks.outerSize = [] { return WindowSizeTwips{6000, 4500}; };
        hooks.redraw = [this] { ++redraws; };
        hooks.showControls = [&records](const UndoControls& c) { records.showUndoControls(c); };
    }
    void storeWithSize(int bigness) {
        view.BigNess = static_cast<std::int16_t>(bigness);
        storeView(ring, view, job, hooks);
    }

    // GraphicsWindow
    void setCaption(const std::string&) override {}
    GraphicsModes modes() const override { return {}; }
    void setModes(const GraphicsModes&) override {}
    void setPointer(GraphicsPointer) override {}
    void redraw() override { ++redraws; }
    void closeWindow() override {}
    // ViewRecordHost
    const UndoRing& undoRing() const override { return ring; }
    void showPreviousView() override { kal::showPreviousView(ring, view, hooks); }
    void showNextView() override { kal::showNextView(ring, view, hooks); }
    void showSavedView(std::int32_t toGet) override { kal::showSavedView(job, toGet, ring, view, 30, hooks); }
};

struct Program {
    testing::TempDir dir;
    JobState job;
    testing::FakePrompter prompter;
    JobEvents events;
    FormMain main{job, prompter};
    ViewRecordWindows records{job, events, main, prompter};
    RingWindow window{job, records};
    std::vector<std::string> names;  // answers of the naming dialog

    Program() {
        main.setSplashInterval(-1);
        job.IniFilePath = dir.write("Kalvoreth.ini", "[Global]\r\nNameMCS=MCS\r\n\r\n[LastEntry]\r\n");
        job.DataLoaded = true;
        records.setNameAsker([this] {
            std::string name = names.empty() ? std::string() : names.front();
            if (!names.empty()) names.erase(names.begin());
            return name;
        });
    }
    void openWindow() {
        main.graphicsWindows().add(&window);
        main.action(Command::GraphicsWindow)->setChecked(true);
        main.refreshControls();
    }
    QComboBox* combo() const { return main.comboSaveView(); }
};

TEST(ViewRecordWindows, ViewCommandsWaitForAGraphicsWindow) {
    Program p;
    p.main.refreshControls();
    for (Command c : {Command::SaveView, Command::DeleteView, Command::LastView, Command::NextView})
        EXPECT_FALSE(p.main.action(c)->isEnabled()) << commandInfo(c).objectName;
    p.records.saveView();  // reached anyway: nothing happens, nothing is asked
    EXPECT_TRUE(p.prompter.shown().empty());
    EXPECT_FALSE(p.job.JobDirty);
    p.openWindow();
    EXPECT_TRUE(p.main.action(Command::SaveView)->isEnabled());
    EXPECT_TRUE(p.main.action(Command::DeleteView)->isEnabled());
}

TEST(ViewRecordWindows, StoresDriveTheLastAndNextControls) {
    Program p;
    p.openWindow();
    for (int k = 1; k <= 3; ++k) p.window.storeWithSize(k);
    QToolButton* last = p.main.toolButton(Command::LastView);
    QToolButton* next = p.main.toolButton(Command::NextView);
    ASSERT_NE(last, nullptr);
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(p.main.action(Command::LastView)->isEnabled());
    EXPECT_FALSE(p.main.action(Command::NextView)->isEnabled());
    EXPECT_EQ(last->toolTip(), "Last View 2");
    EXPECT_EQ(next->toolTip(), "Next View 0");

    p.main.action(Command::LastView)->trigger();
    p.main.action(Command::LastView)->trigger();
    EXPECT_EQ(p.window.view.BigNess, 1);
    EXPECT_FALSE(p.main.action(Command::LastView)->isEnabled());
    EXPECT_TRUE(p.main.action(Command::NextView)->isEnabled());
    EXPECT_EQ(last->toolTip(), "Last View 0");
    EXPECT_EQ(next->toolTip(), "Next View -2");
    p.main.action(Command::NextView)->trigger();
    EXPECT_EQ(p.window.view.BigNess, 2);
}

TEST(ViewRecordWindows, SaveChooseAndDeleteThroughTheList) {
    Program p;
    p.openWindow();
    p.window.storeWithSize(4);
    p.names = {"A"};
    p.main.action(Command::SaveView)->trigger();
    p.window.storeWithSize(5);
    p.names = {"a"};
    p.main.action(Command::SaveView)->trigger();
    ASSERT_EQ(p.combo()->count(), 2);
    EXPECT_EQ(p.combo()->itemText(1), "a");
    EXPECT_EQ(p.combo()->currentIndex(), -1);
    EXPECT_EQ(p.job.ViewCount, 2);
    EXPECT_TRUE(p.job.JobDirty);

    // Choosing "A" shows it and makes it a ring step.
    const std::int32_t before = p.window.ring.UndoIndex();
    emit p.combo()->activated(0);
    EXPECT_EQ(p.window.view.BigNess, 4);
    EXPECT_EQ(p.window.ring.UndoIndex(), before + 1);

    // Delete with nothing chosen deletes nothing, but marks the job.
    p.combo()->setCurrentIndex(-1);
    p.job.JobDirty = false;
    p.main.action(Command::DeleteView)->trigger();
    EXPECT_EQ(p.job.ViewCount, 2);
    EXPECT_TRUE(p.job.JobDirty);
    p.combo()->setCurrentIndex(0);
    p.main.action(Command::DeleteView)->trigger();
    EXPECT_EQ(p.job.SavedViewNames, (std::vector<std::string>{"a"}));
    ASSERT_EQ(p.combo()->count(), 1);
    EXPECT_EQ(p.combo()->itemText(0), "a");
}

TEST(ViewRecordWindows, GeneralGraphicsSettingsOpensTheOptionsModeless) {
    Program p;
    int rebuilds = 0;
    p.records.setRebuildGraphicsWindows([&] { ++rebuilds; });
    EXPECT_TRUE(p.main.action(Command::GeneralGraphicsSettings)->isEnabled());
    p.main.action(Command::GeneralGraphicsSettings)->trigger();
    FormGraphicsOptions* options = p.records.graphicsOptions();
    ASSERT_NE(options, nullptr);
    EXPECT_FALSE(options->isModal());
    EXPECT_TRUE(options->isVisible());
    p.main.action(Command::GeneralGraphicsSettings)->trigger();  // the same dialog again
    EXPECT_EQ(p.records.graphicsOptions(), options);
    options->box(9)->click();  // ShowPointNames
    options->applyButton()->click();
    EXPECT_TRUE(p.job.GraphicsFlags.ShowPointNames);
    EXPECT_EQ(rebuilds, 1);
    EXPECT_NE(testing::TempDir::read(p.job.IniFilePath).find("ShowPointNames=True"), std::string::npos);
}

}  // namespace
}  // namespace kal
