#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <cmath>
#include <functional>

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

// Missing keys read as 1000 twips: the window takes that place, but 1000 x 1000 twips is below
// any window's usable minimum, so it keeps the size it has.
TEST(WindowPosQt, WindowWithoutStoredGeometryGets1000TwipsPositionAndKeepsItsSize) {
    TempDir dir;
    QWidget w;
    w.resize(320, 240);
    restoreWindowPos(&w, "FormProgress", dir.file("empty.ini"));
    EXPECT_EQ(w.frameGeometry(), QRect(px(1000, w), px(1000, w), 320, 240));
}

TEST(WindowPosQt, ChildWindowStaysInsideItsParent) {
    TempDir dir;
    const std::string ini =
        dir.write("k.ini",
                  "[Window]\r\nFormChildHeight=2880\r\nFormChildTop=0\r\nFormChildWidth=3600\r\n"
                  "FormChildLeft=99999\r\n\r\n[LastEntry]\r\n");
    QWidget parent;
    parent.resize(400, 300);
    parent.show();
    QWidget child(&parent);
    restoreWindowPos(&child, "FormChild", ini);
    EXPECT_EQ(child.geometry(), QRect(400 - px(3600, child), 0, px(3600, child), px(2880, child)));
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

std::string windowKeys(const std::string& name, int height, int top, int width, int left) {
    return "[Window]\r\n" + name + "Height=" + std::to_string(height) + "\r\n" + name +
           "Top=" + std::to_string(top) + "\r\n" + name + "Width=" + std::to_string(width) + "\r\n" + name +
           "Left=" + std::to_string(left) + "\r\n\r\n[LastEntry]\r\n";
}

// A size stored below the window's usable minimum (its minimum size hint, or 200 x 150 pixels
// where it gives none) is not taken: such a size is a window collapsed to its title bar, and
// restoring it would open the window as a bare strip. The place is taken either way.
TEST(WindowPosQt, StoredSizeBelowTheUsableMinimumIsNotTaken) {
    struct Case {
        const char* what;
        std::function<QWidget*()> content;
        int widthTwips, heightTwips;
        bool taken;
    };
    const Case cases[] = {
        {"no minimum of its own, a title-bar strip", [] { return new QWidget; }, 4410, 720, false},
        {"no minimum of its own, 294 x 200 px", [] { return new QWidget; }, 4410, 3000, true},
        {"no minimum of its own, 195 x 200 px", [] { return new QWidget; }, 2925, 3000, false},
        {"a minimum of 400 x 300, 294 x 240 px",
         [] {
             auto* w = new QWidget;
             w->setMinimumSize(400, 300);
             return w;
         },
         4410, 3600, false},
        {"a minimum of 400 x 300, 480 x 400 px",
         [] {
             auto* w = new QWidget;
             w->setMinimumSize(400, 300);
             return w;
         },
         7200, 6000, true},
        // A small window with a layout asks only for what its content needs.
        {"one caption, 160 x 90 px",
         [] {
             auto* w = new QWidget;
             (new QVBoxLayout(w))->addWidget(new QLabel("x"));
             return w;
         },
         2400, 1350, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::string ini =
            dir.write("k.ini", windowKeys("FormScreen", c.heightTwips, 720, c.widthTwips, 1440));
        QMdiArea area;
        area.resize(1000, 800);
        area.show();
        QMdiSubWindow* sub = area.addSubWindow(c.content());
        sub->resize(660, 520);
        restoreWindowPos(sub, "FormScreen", ini);
        EXPECT_EQ(sub->pos(), QPoint(px(1440, *sub), px(720, *sub)));
        if (c.taken) {
            EXPECT_EQ(sub->size(), QSize(px(c.widthTwips, *sub), px(c.heightTwips, *sub)));
        } else {
            EXPECT_EQ(sub->size(), QSize(660, 520));
        }
        const QSize least = usableMinimumSize(sub);
        EXPECT_GE(sub->width(), least.width());
        EXPECT_GE(sub->height(), least.height());
    }
}

// A dialog is restored before it is shown, when the window manager has not framed it yet. Its
// stored size is the outer one: taken as the inside, the dialog would grow by its frame at every
// opening.
TEST(WindowPosQt, DialogOpenedAgainAndAgainKeepsItsOuterSize) {
    TempDir dir;
    const std::string ini = dir.file("k.ini");
    QWidget owner;
    owner.resize(800, 600);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    std::vector<QSize> outer;
    for (int opening = 0; opening < 5; ++opening) {
        QDialog d(&owner);
        (new QVBoxLayout(&d))->addWidget(new QLabel("Options"));
        d.resize(300, 470);
        restoreWindowPos(&d, "FormOptions", ini);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        outer.push_back(d.frameGeometry().size());
        std::string error;
        ASSERT_TRUE(saveWindowPos(&d, "FormOptions", ini, &error)) << error;
    }
    for (int opening = 1; opening < 5; ++opening) EXPECT_EQ(outer[opening], outer[0]) << opening;
    EXPECT_EQ(readIniValue(ini, "FormOptionsHeight"),
              std::to_string(std::lround(outer[0].height() * 1440.0 / owner.screen()->logicalDotsPerInch())));
}

// A maximised child window fills the work area, a minimised one is an icon: neither is the size
// the user gave it, and neither is what it stores.
TEST(WindowPosQt, MaximisedOrMinimisedChildStoresItsNormalPlace) {
    for (const bool maximised : {true, false}) {
        SCOPED_TRACE(maximised ? "maximised" : "minimised");
        TempDir dir;
        const std::string ini = dir.file("k.ini");
        QMdiArea area;
        area.resize(1000, 800);
        area.show();
        QMdiSubWindow* sub = area.addSubWindow(new QWidget);
        sub->resize(500, 400);
        restoreWindowPos(sub, "FormUnits", ini);
        sub->show();
        sub->setGeometry(50, 40, 320, 240);
        if (maximised)
            sub->showMaximized();
        else
            sub->showMinimized();
        ASSERT_NE(sub->size(), QSize(320, 240));
        std::string error;
        ASSERT_TRUE(saveWindowPos(sub, "FormUnits", ini, &error)) << error;
        const WindowTwips t = readWindowTwips(ini, "FormUnits");
        EXPECT_EQ(toPixels(t, sub->screen()->logicalDotsPerInch()), (PixelRect{50, 40, 320, 240}));
    }
}

}  // namespace
}  // namespace kal
