#include <gtest/gtest.h>

#include <QScreen>
#include <QWidget>
#include <cmath>

#include "shared/IniFile.h"
#include "shared/WindowPos.h"
#include "shared/ui/WindowPosQt.h"
#include "support/TempDir.h"

namespace kal {
namespace {

using testing::TempDir;

int px(double twips, const QWidget& w) {
    return static_cast<int>(std::lround(twips * w.screen()->logicalDotsPerInch() / 1440.0));
}

TEST(WindowPosQt, RestoredWindowLandsWhereTheSettingsFileSays) {
    TempDir dir;
    const std::string ini =
        dir.write("k.ini",
                  "[Window]\r\nFormUnitsHeight=3600\r\nFormUnitsTop=1440\r\nFormUnitsWidth=4800\r\n"
                  "FormUnitsLeft=2880\r\n\r\n[LastEntry]\r\n");
    QWidget w;
    restoreWindowPos(&w, "FormUnits", ini);
    EXPECT_EQ(w.frameGeometry(), QRect(px(2880, w), px(1440, w), px(4800, w), px(3600, w)));
}

TEST(WindowPosQt, WindowStoredOffTheScreenIsBroughtBack) {
    TempDir dir;
    const std::string ini =
        dir.write("k.ini",
                  "[Window]\r\nFormGrafikHeight=3000\r\nFormGrafikTop=-90000\r\nFormGrafikWidth=3000\r\n"
                  "FormGrafikLeft=400000\r\n\r\n[LastEntry]\r\n");
    QWidget w;
    restoreWindowPos(&w, "FormGrafik", ini);
    const QRect screen = w.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(w.frameGeometry())) << w.frameGeometry().x() << "," << w.frameGeometry().y();
    EXPECT_EQ(w.frameGeometry().right(), screen.right());
    EXPECT_EQ(w.frameGeometry().top(), screen.top());
    EXPECT_EQ(w.frameGeometry().width(), px(3000, w));
}

TEST(WindowPosQt, WindowWithoutStoredGeometryGets1000TwipsEach) {
    TempDir dir;
    QWidget w;
    restoreWindowPos(&w, "FormProgress", dir.file("empty.ini"));
    EXPECT_EQ(w.frameGeometry(), QRect(px(1000, w), px(1000, w), px(1000, w), px(1000, w)));
}

TEST(WindowPosQt, ChildWindowStaysInsideItsParent) {
    TempDir dir;
    const std::string ini =
        dir.write("k.ini",
                  "[Window]\r\nFormChildHeight=1440\r\nFormChildTop=0\r\nFormChildWidth=1440\r\n"
                  "FormChildLeft=99999\r\n\r\n[LastEntry]\r\n");
    QWidget parent;
    parent.resize(400, 300);
    parent.show();
    QWidget child(&parent);
    restoreWindowPos(&child, "FormChild", ini);
    EXPECT_EQ(child.geometry(), QRect(400 - px(1440, child), 0, px(1440, child), px(1440, child)));
}

TEST(WindowPosQt, SavedGeometryRestoresTheSameWindow) {
    TempDir dir;
    const std::string ini = dir.file("k.ini");
    QWidget a;
    a.move(40, 30);
    a.resize(320, 240);
    std::string error;
    ASSERT_TRUE(saveWindowPos(&a, "FormInputFiles", ini, &error)) << error;
    EXPECT_NE(readIniValue(ini, "FormInputFilesWidth"), "1000");
    QWidget b;
    restoreWindowPos(&b, "FormInputFiles", ini);
    EXPECT_EQ(b.frameGeometry(), a.frameGeometry());
    EXPECT_FALSE(saveWindowPos(&a, "FormInputFiles", dir.path(), &error));  // a folder: cannot be written
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace kal
