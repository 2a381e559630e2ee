#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>

#include "shell/ui/FormProgressBar.h"
#include "shell/ui/FormStopParaTrafo.h"

namespace kal {
namespace {

struct Frame {
    Frame() : positions(job) {
        main.setCentralWidget(mdi);
        main.resize(1000, 700);
        main.show();
    }
    JobState job;  // no settings file: positions neither read nor stored
    WindowPositions positions;
    QMainWindow main;
    QMdiArea* mdi = new QMdiArea;
};

TEST(FormProgressBar, CancelStopsTheLoopAndAWriteAfterItOpensNothing) {
    Frame f;
    QtProgressWindow progress(f.mdi, f.job.StopFlag, f.positions);
    f.job.StopFlag = true;  // left over from earlier work
    progress.open("Calculating MonteCarlo");
    EXPECT_FALSE(f.job.StopFlag);
    ASSERT_NE(progress.form(), nullptr);
    EXPECT_EQ(progress.subWindow()->windowTitle(), "Calculating MonteCarlo");
    progress.setValue(40);
    EXPECT_EQ(progress.form()->progressBar()->value(), 40);
    EXPECT_EQ(progress.form()->cancelButton()->text(), "&Cancel");

    EXPECT_FALSE(progress.stopRequested());
    progress.form()->cancelButton()->click();
    EXPECT_TRUE(f.job.StopFlag);
    EXPECT_TRUE(progress.stopRequested());
    EXPECT_FALSE(progress.isOpen());
    progress.setValue(60);
    EXPECT_FALSE(progress.isOpen());
    EXPECT_EQ(progress.form(), nullptr);
    EXPECT_TRUE(f.job.StopFlag);
}

TEST(FormProgressBar, TheCloseBoxActsAsCancelAndTheLoopsOwnCloseDoesNot) {
    Frame f;
    QtProgressWindow progress(f.mdi, f.job.StopFlag, f.positions);
    progress.open();
    EXPECT_EQ(progress.subWindow()->windowTitle(), "Progress");
    progress.subWindow()->close();
    EXPECT_TRUE(f.job.StopFlag);
    EXPECT_FALSE(progress.isOpen());

    progress.open();
    EXPECT_FALSE(f.job.StopFlag);
    progress.close();
    EXPECT_FALSE(f.job.StopFlag);
    EXPECT_FALSE(progress.isOpen());
}

TEST(FormProgressBar, HasItsFixedSize) {
    Frame f;
    QtProgressWindow progress(f.mdi, f.job.StopFlag, f.positions);
    progress.open();
    EXPECT_EQ(progress.subWindow()->size(),
              QSize(twipsOnScreen(progress.subWindow(), 10140), twipsOnScreen(progress.subWindow(), 1650)));
}

TEST(FormStopParaTrafo, ButtonAndCloseBoxStopTheRoadsEndDoesNot) {
    enum How { Button, CloseBox, Flow };
    for (How how : {Button, CloseBox, Flow}) {
        Frame f;
        QtParaStopWindow stop(f.mdi, &f.main, f.job.ParaStopFlag, f.positions);
        stop.open();
        ASSERT_NE(stop.form(), nullptr);
        EXPECT_EQ(stop.subWindow()->windowTitle(), "Stop Paraboloid Trafo");
        EXPECT_EQ(stop.form()->stopButton()->text(), "Stop Paraboloid Trafo");
        EXPECT_EQ(f.main.cursor().shape(), Qt::WaitCursor);
        EXPECT_EQ(stop.subWindow()->cursor().shape(), Qt::ArrowCursor);
        if (how == Button) stop.form()->stopButton()->click();
        if (how == CloseBox) stop.subWindow()->close();
        if (how == Flow) stop.close();
        EXPECT_EQ(f.job.ParaStopFlag, how != Flow) << how;
        EXPECT_FALSE(stop.isOpen());
        EXPECT_EQ(f.main.cursor().shape(), Qt::ArrowCursor);
    }
}

TEST(FormStopParaTrafo, StopItSetsTheFlagAndDisablingKeepsTheWindow) {
    Frame f;
    QtParaStopWindow stop(f.mdi, &f.main, f.job.ParaStopFlag, f.positions);
    stop.open();
    stop.setStopEnabled(false);
    EXPECT_FALSE(stop.subWindow()->isEnabled());
    stop.setStopEnabled(true);
    stop.stopParaboloidLoop();
    EXPECT_TRUE(f.job.ParaStopFlag);
    EXPECT_FALSE(stop.isOpen());
}

}  // namespace
}  // namespace kal
