// The sizes of the main window's child windows and dialogs on a desktop with a window manager:
// arrangements, restored sizes and repeated openings never leave a window smaller than it can
// be used at, and what a window stores is the size the user gave it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <functional>

#include "app/CalculationWindows.h"
#include "app/InputToolWindows.h"
#include "app/SettingsWindows.h"
#include "app/ViewRecordWindows.h"
#include "shared/IniFile.h"
#include "shared/WindowPos.h"
#include "shared/ui/WindowPosQt.h"
#include "shell/ui/MainWindowCommands.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"
#include "support/ui/GraphicsProgram.h"

namespace kal {
namespace {

struct NoOpener : platform::ShellOpener {
    bool openDocument(const std::string&) override { return false; }
};

std::string windowKeys(const std::string& name, int height, int top, int width, int left) {
    return "[Window]\r\n" + name + "Height=" + std::to_string(height) + "\r\n" + name +
           "Top=" + std::to_string(top) + "\r\n" + name + "Width=" + std::to_string(width) + "\r\n" + name +
           "Left=" + std::to_string(left) + "\r\n\r\n[LastEntry]\r\n";
}

// The demo job in the main window with the graphics windows, the Window menu's commands, the
// calculation window, the settings windows and the batch window wired as the program wires them,
// and a settings file of its own.
struct Program : testing::GraphicsProgram {
    testing::TempDir dir;
    testing::FakeClipboard clipboard;
    NoOpener opener;
    MainWindowCommands commands{main, job, prompter, clipboard, opener, dir.path()};
    CalculationWindows calculation{job, events, main, prompter};
    SettingsWindows settings{job, events, main, prompter, calculation};
    InputToolWindows tools{job, events, main, prompter};

    explicit Program(const std::string& ini = "[LastEntry]\r\n") {
        job.IniFilePath = dir.write("Kalvoreth.ini", ini);
        job.AppDataFolder = dir.file("share");
        renderOnOpen = false;
        show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
    }
    static QMdiSubWindow* frame(QWidget& w) { return qobject_cast<QMdiSubWindow*>(w.parentWidget()); }
    int px(double twips) const { return twipsToPixels(twips, main.screen()->logicalDotsPerInch()); }
    int twips(int pixels) const {
        return static_cast<int>(pixelsToTwips(pixels, main.screen()->logicalDotsPerInch()));
    }
    int stored(const std::string& key) const { return std::stoi(readIniValue(job.IniFilePath, key)); }
    void capture(const char* name) {
        QApplication::processEvents();
        if (const char* folder = std::getenv("KALVORETH_CAPTURE_DIR"))
            main.grab().save(QString::fromStdString(std::string(folder) + "/" + name));
    }
};

void expectUsable(QMdiSubWindow* sub) {
    const QSize least = usableMinimumSize(sub);
    EXPECT_GE(sub->width(), least.width()) << sub->windowTitle().toStdString();
    EXPECT_GE(sub->height(), least.height()) << sub->windowTitle().toStdString();
}

// A graphics window stored as a title-and-status strip (4410 x 720 twips, what the system's
// cascade left behind) opens at a usable size, comes back to it from maximised, and stores it.
TEST(WindowSizes, GraphicsWindowStoredAsAStripOpensAtAUsableSize) {
    Program p(windowKeys("FormScreen", 720, 300, 4410, 600));
    FormScreen& w = p.open();
    QMdiSubWindow* sub = Program::frame(w);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->pos(), QPoint(p.px(600), p.px(300)));
    EXPECT_EQ(sub->size(), QSize(660, 520));  // the window's own size, not 294 x 48
    expectUsable(sub);
    EXPECT_GE(w.surface()->height(), 150);
    sub->showMaximized();
    sub->showNormal();
    EXPECT_EQ(sub->size(), QSize(660, 520));
    w.closeWindow();
    QApplication::processEvents();
    EXPECT_EQ(p.stored("FormScreenHeight"), p.twips(520));
    EXPECT_EQ(p.stored("FormScreenWidth"), p.twips(660));
}

// Every graphics window restores the one stored place: a second window must not hide the first
// exactly, as if it had not opened.
TEST(WindowSizes, EachNewGraphicsWindowStandsOneCascadeStepFurther) {
    Program p;
    const int step = cascadeStep(*p.main.mdiArea());
    ASSERT_GT(step, 0);
    FormScreen& first = p.open();
    FormScreen& second = p.open();
    FormScreen& third = p.open();
    const QPoint a = Program::frame(first)->pos(), b = Program::frame(second)->pos(),
                 c = Program::frame(third)->pos();
    EXPECT_EQ(b, a + QPoint(step, step));
    EXPECT_EQ(c, b + QPoint(step, step));
}

// Window > Cascade keeps the windows' sizes (the system's cascade collapsed them to title strips
// and they stored that); Arrange then gives each a column no smaller than its minimum.
TEST(WindowSizes, CascadeThenArrangeKeepEveryWindowUsable) {
    Program p;
    std::vector<FormScreen*> windows{&p.open(), &p.open(), &p.open()};
    for (FormScreen* w : windows) Program::frame(*w)->resize(560, 420);
    p.run(Command::CascadeWindows);
    std::vector<QPoint> places;
    for (FormScreen* w : windows) {
        QMdiSubWindow* sub = Program::frame(*w);
        EXPECT_EQ(sub->size(), QSize(560, 420));
        expectUsable(sub);
        places.push_back(sub->pos());
    }
    EXPECT_NE(places[0], places[1]);
    EXPECT_NE(places[1], places[2]);
    p.capture("sizes-cascade.png");

    p.run(Command::ArrangeWindows);
    for (FormScreen* w : windows) {
        expectUsable(Program::frame(*w));
        EXPECT_GE(w->surface()->width(), 200);
        EXPECT_GE(w->surface()->height(), 150);
    }
    p.capture("sizes-arrange.png");

    p.run(Command::CascadeWindows);
    for (FormScreen* w : windows) expectUsable(Program::frame(*w));
    for (FormScreen* w : windows) w->closeWindow();
    QApplication::processEvents();
    const QSize least = usableMinimumSize(Program::frame(p.open()));
    EXPECT_GE(p.stored("FormScreenHeight"), p.twips(least.height()));
    EXPECT_GE(p.stored("FormScreenWidth"), p.twips(least.width()));
}

// Arranged beside two graphics windows, the calculation window keeps the width at which its
// right column, with Calculate and STOP, lies inside it.
TEST(WindowSizes, ArrangedCalculationWindowKeepsCalculateAndStopInView) {
    Program p;
    p.open();
    p.open();
    FormTrafoBerechnung& calc = p.calculation.ensureOpen();
    QApplication::processEvents();
    p.run(Command::ArrangeWindows);
    QMdiSubWindow* sub = Program::frame(calc);
    ASSERT_NE(sub, nullptr);
    expectUsable(sub);
    for (QWidget* button :
         {static_cast<QWidget*>(calc.calculateButton()), static_cast<QWidget*>(calc.stopButton())}) {
        SCOPED_TRACE(button->objectName().toStdString());
        const QRect inWindow(button->mapTo(sub, QPoint(0, 0)), button->size());
        EXPECT_TRUE(sub->rect().contains(inWindow))
            << inWindow.x() << "," << inWindow.y() << " " << inWindow.width() << "x" << inWindow.height()
            << " in " << sub->width() << "x" << sub->height();
    }
    // The other columns share what is left.
    for (FormScreen* w : p.screens.windows()) expectUsable(Program::frame(*w));
    p.capture("sizes-arrange-calculation.png");
}

// A small window opened while a graphics window is maximised opens at its own size, and stores
// that, not the work area the maximised window fills.
TEST(WindowSizes, WindowOpenedWhileAnotherIsMaximisedOpensAtItsOwnSize) {
    Program p;
    FormScreen& graphics = p.open();
    Program::frame(graphics)->showMaximized();
    QApplication::processEvents();
    p.run(Command::Units);
    FormUnits* units = p.settings.unitsWindow();
    ASSERT_NE(units, nullptr);
    QMdiSubWindow* sub = Program::frame(*units);
    EXPECT_FALSE(sub->isMaximized());
    const QSize own = sub->size();
    EXPECT_LT(own.width(), p.main.mdiArea()->viewport()->width());
    EXPECT_EQ(p.main.mdiArea()->activeSubWindow(), sub);

    // Maximised by the user and closed so: it still stores its own size.
    sub->showMaximized();
    units->cancelButton()->click();
    QApplication::processEvents();
    EXPECT_EQ(p.stored("FormUnitsWidth"), p.twips(own.width()));
    EXPECT_EQ(p.stored("FormUnitsHeight"), p.twips(own.height()));

    // Switching between windows still keeps a maximised view maximised.
    FormScreen& other = p.open();
    Program::frame(other)->showMaximized();
    p.main.mdiArea()->setActiveSubWindow(Program::frame(graphics));
    EXPECT_TRUE(Program::frame(graphics)->isMaximized());
}

// Settings > Units at its own size and at a stored size smaller than its content: every list is
// as high as its text needs (no descender of "degree" cut) and lies inside the window, as do the
// buttons.
TEST(WindowSizes, UnitsListsAreNeverSqueezedUnderTheirTexts) {
    for (const std::string& ini :
         {std::string("[LastEntry]\r\n"), windowKeys("FormUnits", 1500, 1500, 2500, 1500)}) {
        SCOPED_TRACE(ini);
        Program p(ini);
        p.run(Command::Units);
        FormUnits* units = p.settings.unitsWindow();
        ASSERT_NE(units, nullptr);
        QApplication::processEvents();
        const auto lists = units->findChildren<QComboBox*>();
        ASSERT_EQ(lists.size(), 5);
        std::vector<QWidget*> controls(lists.begin(), lists.end());
        controls.push_back(units->okButton());
        controls.push_back(units->cancelButton());
        for (QWidget* control : controls) {
            SCOPED_TRACE(control->objectName().toStdString());
            EXPECT_GE(control->height(), control->sizeHint().height());
            EXPECT_TRUE(units->rect().contains(QRect(control->mapTo(units, QPoint(0, 0)), control->size())));
        }
        p.capture("units-window.png");
    }
}

// A dialog restored before the window manager framed it took its stored outer height as its
// inside and grew by a title bar at every opening (470, 495, 520, ...).
TEST(WindowSizes, OptionsAndBatchOpenedFiveTimesKeepTheirHeight) {
    struct Case {
        const char* key;
        std::function<int(Program&)> openAndClose;  // the outer height while open
    };
    const Case cases[] = {
        {"FormOptionsHeight",
         [](Program& p) {
             p.run(Command::Options);
             FormOptions* d = p.settings.optionsDialog();
             if (!d || !QTest::qWaitForWindowExposed(d)) return -1;
             const int height = d->frameGeometry().height();
             d->cancelButton()->click();
             QApplication::processEvents();
             return height;
         }},
        {"FormBatchHeight",
         [](Program& p) {
             int height = -1;
             p.tools.whenBatchWindowShows([&](FormBatch& f) {
                 height = f.frameGeometry().height();
                 f.cancelButton()->click();
             });
             p.run(Command::BatchTransform);
             return height;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        Program p;
        std::vector<int> heights, stored;
        for (int opening = 0; opening < 5; ++opening) {
            heights.push_back(c.openAndClose(p));
            stored.push_back(p.stored(c.key));
        }
        ASSERT_GT(heights[0], 0);
        for (int opening = 1; opening < 5; ++opening) {
            EXPECT_EQ(heights[opening], heights[0]) << "opening " << opening + 1;
            EXPECT_EQ(stored[opening], stored[0]) << "opening " << opening + 1;
        }
        EXPECT_EQ(stored[0], p.twips(heights[0]));
    }
}

// A view saved while its window was a strip brings back the view, not the strip.
TEST(WindowSizes, SavedViewOfAStripWindowLeavesTheWindowItsSize) {
    Program p;
    ViewRecordWindows records{p.job, p.events, p.main, p.prompter};
    records.attachScreens(p.screens);
    records.setNameAsker([] { return std::string("Strip"); });
    FormScreen& w = p.open();
    QMdiSubWindow* sub = Program::frame(w);
    sub->resize(294, 48);
    p.run(Command::TopView);  // a view step stores the view with the window's size
    const int saved = p.job.ViewCount;
    p.run(Command::SaveView);
    ASSERT_EQ(p.job.ViewCount, saved + 1);
    sub->resize(500, 400);
    emit p.main.comboSaveView()->activated(saved);
    QApplication::processEvents();
    EXPECT_EQ(sub->size(), QSize(500, 400));
}

}  // namespace
}  // namespace kal
