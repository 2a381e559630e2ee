#include <gtest/gtest.h>

#include <QImage>

#include "shell/ui/FormMain.h"

namespace kal {
namespace {

TEST(FormMain, CaptionShowsVersionAndJobAndTheWindowPaints) {
    JobState job;
    job.CurrentJobFile = "..\\default.tfo";
    FormMain w(job);
    EXPECT_EQ(w.windowTitle().toStdString(), "Kalvoreth Version 2.0.63 | ..\\default.tfo");
    ASSERT_NE(w.mdiArea(), nullptr);
    w.resize(640, 480);
    QImage shot = w.grab().toImage();
    EXPECT_EQ(shot.width(), 640);
}

}  // namespace
}  // namespace kal
