#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include "shell/ui/WindowCapture.h"

namespace kal {
namespace {

// Paints each pixel's column into red and its row into green, so a picture pixel tells where in
// the window it came from.
class Coordinates : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x) {
                p.setPen(QColor(x, y, 0));
                p.drawPoint(x, y);
            }
    }
};

TEST(WindowCapture, PicturePixelZeroIsWindowPixelThreeThree) {
    Coordinates w;
    w.resize(100, 80);
    const QImage img = captureClientArea(&w);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.width(), 95 * img.devicePixelRatio());
    EXPECT_EQ(img.height(), 75 * img.devicePixelRatio());
    EXPECT_EQ(img.pixelColor(0, 0), QColor(3, 3, 0));
}

TEST(WindowCapture, ATooSmallWindowLeavesTheClipboardAsItWas) {
    platform::QtClipboard clipboard;
    QGuiApplication::clipboard()->setText("kept");
    Coordinates w;
    w.resize(5, 100);
    EXPECT_FALSE(captureToClipboard(&w, clipboard));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
    w.resize(60, 50);
    EXPECT_TRUE(captureToClipboard(&w, clipboard));
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(55, 45));
}

TEST(WindowCapture, WritesAPictureFile) {
    QTemporaryDir dir;
    Coordinates w;
    w.resize(40, 30);
    const QString path = QDir(dir.path()).filePath("shot.png");
    ASSERT_TRUE(captureToFile(&w, path));
    EXPECT_EQ(QImage(path).size(), QSize(35, 25));
}

}  // namespace
}  // namespace kal
