#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include "shell/ui/SplashWindow.h"

namespace kal {
namespace {

void click(QWidget* w) {
    const QPointF pos(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, pos, w->mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

TEST(SplashWindow, ClosesItselfAfterItsInterval) {
    SplashWindow splash(30);
    QElapsedTimer t;
    t.start();
    splash.runModal();  // returns when the timer fires
    EXPECT_GE(t.elapsed(), 25);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.textStatus()->text().toStdString(), "You are running Version 2.0.63\r\n");
}

TEST(SplashWindow, AZeroIntervalClosesAtOnceInsteadOfHanging) {
    SplashWindow splash(0);
    splash.runModal();
    EXPECT_FALSE(splash.isVisible());
}

TEST(SplashWindow, AClickOnThePictureClosesItAndClicksElsewhereDoNothing) {
    SplashWindow splash(60000);
    splash.show();
    click(splash.pictureRight());
    click(splash.textStatus());
    EXPECT_TRUE(splash.isVisible());
    click(splash.pictureLeft());
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.result(), QDialog::Accepted);
}

TEST(SplashWindow, WindowIsAsWideAsThePictureAndTheStripSitsBelowIt) {
    SplashWindow splash(0);
    EXPECT_EQ(splash.width(), splash.pictureLeft()->width());
    EXPECT_EQ(splash.pictureRight()->y(), splash.pictureLeft()->height());
    EXPECT_NEAR(splash.height(), splash.pictureLeft()->height() + splash.pictureRight()->height(), 1);
}

}  // namespace
}  // namespace kal
