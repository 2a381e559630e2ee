#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include "shell/ui/Eroeffnung.h"

namespace kal {
namespace {

void click(QWidget* w) {
    const QPointF pos(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, pos, w->mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

TEST(Eroeffnung, ClosesItselfAfterItsInterval) {
    Eroeffnung splash(30);
    QElapsedTimer t;
    t.start();
    splash.runModal();  // returns when the timer fires
    EXPECT_GE(t.elapsed(), 25);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.textStatus()->text().toStdString(), "You are running Version 2.0.63\r\n");
}

TEST(Eroeffnung, AZeroIntervalClosesAtOnceInsteadOfHanging) {
    Eroeffnung splash(0);
    splash.runModal();
    EXPECT_FALSE(splash.isVisible());
}

TEST(Eroeffnung, AClickOnThePictureClosesItAndClicksElsewhereDoNothing) {
    Eroeffnung splash(60000);
    splash.show();
    click(splash.image2());
    click(splash.textStatus());
    EXPECT_TRUE(splash.isVisible());
    click(splash.image1());
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.result(), QDialog::Accepted);
}

TEST(Eroeffnung, WindowIsAsWideAsThePictureAndTheStripSitsBelowIt) {
    Eroeffnung splash(0);
    EXPECT_EQ(splash.width(), splash.image1()->width());
    EXPECT_EQ(splash.image2()->y(), splash.image1()->height());
    EXPECT_NEAR(splash.height(), splash.image1()->height() + splash.image2()->height(), 1);
}

}  // namespace
}  // namespace kal
