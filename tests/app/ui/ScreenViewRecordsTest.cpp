// The undo ring, the saved views and the graphics options over real graphics windows: the
// demo job in the main window, graphics windows opened by the Graphics menu, the "&Views"
// commands and the options as the program wires them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QToolButton>
#include <cstdlib>

#include "app/ScreenWindows.h"
#include "app/ViewRecordWindows.h"
#include "platform/Regional.h"
#include "support/FakePlatform.h"
#include "support/SampleJobs.h"
#include "support/ui/GraphicsProgram.h"

namespace kal {
namespace {

struct Program : testing::GraphicsProgram {
    ViewRecordWindows records{job, events, main, prompter};
    std::vector<std::string> names;

    Program() {
        renderOnOpen = false;
        records.attachScreens(screens);
        records.setNameAsker([this] {
            std::string name = names.empty() ? std::string() : names.front();
            if (!names.empty()) names.erase(names.begin());
            return name;
        });
        show();
    }
};

TEST(ScreenViewRecords, ZoomStepsGoIntoTheWindowsRingAndComeBack) {
    Program p;
    FormScreen& w = p.open();
    EXPECT_TRUE(!p.records.undoRingOf(&w) ||
                !p.records.undoRingOf(&w)->hasView());  // the load stores nothing
    const float start = w.model().view.Massstab;
    p.run(Command::ZoomIn);
    const float zoomed = w.model().view.Massstab;
    p.run(Command::ZoomIn);
    p.run(Command::TopView);
    const UndoRing* ring = p.records.undoRingOf(&w);
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(ring->UndoIndex(), 3);
    EXPECT_TRUE(p.main.action(Command::LastView)->isEnabled());
    EXPECT_EQ(p.main.toolButton(Command::LastView)->toolTip(), "Last View 2");
    EXPECT_EQ(p.job.DefaultScreenProperties, ring->current());
    EXPECT_GT(p.job.DefaultScreenProperties.WindowWidth, 0);

    p.run(Command::LastView);
    p.run(Command::LastView);
    EXPECT_EQ(w.model().view.Massstab, zoomed);
    EXPECT_NE(zoomed, start);
    EXPECT_FALSE(p.main.action(Command::LastView)->isEnabled());
    EXPECT_EQ(p.main.toolButton(Command::NextView)->toolTip(), "Next View -2");
    p.run(Command::NextView);
    EXPECT_EQ(ring->UndoIndex(), 2);
}

TEST(ScreenViewRecords, SavedViewComesBackInAnotherWindowWithItsSize) {
    Program p;
    FormScreen& first = p.open();
    p.run(Command::TopView);
    p.run(Command::ZoomIn);
    const ScreenProperties saved = first.model().view;
    const int before = p.job.ViewCount;  // the demo job brings a view of its own
    p.names = {"Top"};
    p.run(Command::SaveView);
    ASSERT_EQ(p.job.ViewCount, before + 1);
    EXPECT_EQ(p.main.comboSaveView()->itemText(before), "Top");
    EXPECT_TRUE(p.job.JobDirty);

    FormScreen& second = p.open();
    QMdiSubWindow* frame = qobject_cast<QMdiSubWindow*>(second.parentWidget());
    ASSERT_NE(frame, nullptr);
    frame->resize(400, 300);
    emit p.main.comboSaveView()->activated(before);
    QApplication::processEvents();
    EXPECT_EQ(second.model().view.Massstab, saved.Massstab);
    EXPECT_EQ(second.model().view.ViewAngles, saved.ViewAngles);
    EXPECT_NE(frame->size(), QSize(400, 300));  // the saved window's size
    const UndoRing* ring = p.records.undoRingOf(&second);
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(ring->UndoIndex(), 1);  // showing a saved view is a ring step
}

TEST(ScreenViewRecords, OptionsApplyRebuildsAndRedrawsEveryWindowOnce) {
    Program p;
    FormScreen& a = p.open();
    FormScreen& b = p.open();
    QApplication::processEvents();
    const int framesA = a.frameCount(), framesB = b.frameCount();
    FormGraphicsOptions& options = p.records.openGraphicsOptions();
    options.box(0)->click();  // ViewAllOCS
    options.applyButton()->click();
    QApplication::processEvents();
    EXPECT_EQ(a.frameCount(), framesA + 1);
    EXPECT_EQ(b.frameCount(), framesB + 1);
    EXPECT_EQ(p.job.GraphicsFlags.ViewAllOCS, options.box(0)->isChecked());
    if (const char* dir = std::getenv("KALVORETH_CAPTURE_DIR"))
        p.main.grab().save(QString::fromStdString(std::string(dir) + "/screens-with-options.png"));
}

}  // namespace
}  // namespace kal
