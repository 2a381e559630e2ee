// Where the main window's child windows stand: Arrange, Cascade, restored places and new windows
// keep every window wholly inside the work area wherever the work area can hold it, never below
// the size its controls need, and every title bar in view.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <cstdlib>

#include "app/CalculationWindows.h"
#include "app/ChartWindows.h"
#include "app/DetailsWindows.h"
#include "app/InputToolWindows.h"
#include "app/InputWindows.h"
#include "app/SettingsWindows.h"
#include "app/SheetWindows.h"
#include "calculation/ui/FormTrafoBerechnung.h"
#include "details/ui/FormTrafoDetails.h"
#include "input/ui/FormInputFiles.h"
#include "results/ui/FormMainSheet.h"
#include "shared/WindowPos.h"
#include "shared/ui/WindowPosQt.h"
#include "shell/ui/FormUnits.h"
#include "shell/ui/MainWindowCommands.h"
#include "support/FakeFileDialogs.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"
#include "support/ui/GraphicsProgram.h"

namespace kal {
namespace {

struct NoOpener : platform::ShellOpener {
    bool openDocument(const std::string&) override { return false; }
};

std::string example(const std::string& name) { return std::string(KALVORETH_EXAMPLES) + "/" + name; }

// The demo job in the main window with the windows of the Window menu's arrangements wired as the
// program wires them, and a settings file of its own. The main window is shown by show(), so a
// test can open windows before it is (as the program's start-up does).
struct Program : testing::GraphicsProgram {
    testing::TempDir dir;
    testing::FakeClipboard clipboard;
    testing::FakeFileDialogs dialogs;
    NoOpener opener;
    MainWindowCommands commands{main, job, prompter, clipboard, opener, dir.path()};
    CalculationWindows calculation{job, events, main, prompter};
    SheetWindows sheet{job, events, main, prompter};
    InputWindows input{job, events, main, prompter, dialogs, &calculation};
    InputToolWindows tools{job, events, main, prompter};
    SettingsWindows settings{job, events, main, prompter, calculation};
    ChartWindows charts{job, events, main, prompter, dialogs};

    explicit Program(QSize size, const std::string& ini = "[LastEntry]\r\n") {
        job.IniFilePath = dir.write("Kalvoreth.ini", ini);
        job.AppDataFolder = dir.file("share");
        renderOnOpen = false;
        main.resize(size);
        input.setInputTools(&tools);
    }
    void showMain() {
        show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
        QApplication::processEvents();
    }
    QMdiArea& area() { return *main.mdiArea(); }
    static QMdiSubWindow* frame(QWidget& w) { return qobject_cast<QMdiSubWindow*>(w.parentWidget()); }
    int twips(int pixels) const {
        return static_cast<int>(pixelsToTwips(pixels, main.screen()->logicalDotsPerInch()));
    }
    void capture(const char* name) {
        QApplication::processEvents();
        if (const char* folder = std::getenv("KALVORETH_CAPTURE_DIR"))
            main.grab().save(QString::fromStdString(std::string(folder) + "/" + name));
    }
};

std::string describe(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

// The window lies wholly inside the work area's visible part and is no smaller than it can be
// used at.
void expectInsideAndUsable(QMdiArea& area, QMdiSubWindow* sub) {
    ASSERT_NE(sub, nullptr);
    SCOPED_TRACE(sub->windowTitle().toStdString());
    const QRect visible = area.viewport()->rect();
    EXPECT_TRUE(visible.contains(sub->geometry()))
        << describe(sub->geometry()) << " in " << describe(visible);
    const QSize least = usableMinimumSize(sub);
    EXPECT_GE(sub->width(), least.width());
    EXPECT_GE(sub->height(), least.height());
}

// The child lies wholly inside its window's visible inside.
void expectControlInside(QWidget* control, QMdiSubWindow* sub) {
    ASSERT_NE(control, nullptr);
    SCOPED_TRACE(control->objectName().toStdString());
    const QRect inside = sub->contentsRect();
    const QRect at(control->mapTo(sub, QPoint(0, 0)), control->size());
    EXPECT_TRUE(inside.contains(at)) << describe(at) << " in " << describe(inside);
}

// The control lies inside its window's visible part, or comes there when the window scrolls its
// content to it: it can be reached without scrolling the work area.
void expectReachable(QWidget* control, QWidget* content, QMdiSubWindow* sub) {
    ASSERT_NE(control, nullptr);
    if (auto* scroll = content->findChild<QScrollArea*>(); scroll && scroll->isAncestorOf(control)) {
        scroll->ensureWidgetVisible(control, 0, 0);
        QApplication::processEvents();
        SCOPED_TRACE(control->objectName().toStdString());
        const QRect shown(control->mapTo(scroll->viewport(), QPoint(0, 0)), control->size());
        EXPECT_TRUE(scroll->viewport()->rect().contains(shown))
            << describe(shown) << " in " << describe(scroll->viewport()->rect());
    }
    expectControlInside(control, sub);
}

// After Arrange every window, with its title bar and close box, lies inside the work area and no
// scroll bar shows, on the screens users have: at 1600 x 1000 with six and with nine windows, at
// 1366 x 768 and 1280 x 800 with six. Side by side at their minimums the windows reached past the
// right edge; tiled from a minimum the calculation window did not keep, it ended wider than its
// tile; at 1280 x 800 the main sheet stood wholly outside, reached only by scrolling.
TEST(WindowPlaces, ArrangeKeepsEveryWindowInsideTheWorkArea) {
    struct Case {
        const char* what;
        QSize main;  // the main window on that screen, less the window manager's title bar
        bool nine;
        bool wholeCalculation;  // room to tile the calculation window whole
    };
    const Case cases[] = {
        {"1600 x 1000, six windows", QSize(1584, 952), false, true},
        {"1600 x 1000, nine windows", QSize(1584, 952), true, false},
        {"1366 x 768, six windows", QSize(1366, 742), false, false},
        {"1280 x 800, six windows", QSize(1280, 774), false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Program p(c.main);
        p.showMain();
        p.sheet.fill();
        FormTrafoBerechnung& calc = p.calculation.ensureOpen();
        QApplication::processEvents();
        calc.calculateButton()->click();  // the statistics boxes fill and widen
        QApplication::processEvents();
        for (int i = 0; i < 4; ++i) p.open();
        if (c.nine) {
            p.job.AuswahlPkt = {1.5, 2.5, 0.5};  // three rows chosen in the main sheet
            p.job.AnzAuswahl = 3;
            ASSERT_NE(p.charts.graphData(), nullptr);
            p.charts.distanceScale();
            p.input.open();
        }
        QApplication::processEvents();
        p.run(Command::ArrangeWindows);
        QApplication::processEvents();

        const QList<QMdiSubWindow*> windows = p.area().subWindowList();
        ASSERT_EQ(windows.size(), c.nine ? 9 : 6);
        for (QMdiSubWindow* sub : windows) expectInsideAndUsable(p.area(), sub);
        EXPECT_FALSE(p.area().horizontalScrollBar()->isVisible());
        EXPECT_FALSE(p.area().verticalScrollBar()->isVisible());

        // The calculation window is no wider than the place it was given: its content stands
        // inside it, and every control of it is in reach.
        QMdiSubWindow* calcFrame = Program::frame(calc);
        EXPECT_TRUE(calcFrame->rect().contains(calc.geometry()))
            << describe(calc.geometry()) << " in " << describe(calcFrame->rect());
        auto* statistics = calc.findChild<QWidget*>("Frame1");
        auto* copy = calc.findChild<QWidget*>("TestButton");
        ASSERT_NE(statistics, nullptr);
        ASSERT_NE(copy, nullptr);
        for (QWidget* control :
             {statistics, copy, static_cast<QWidget*>(calc.closeButton()),
              static_cast<QWidget*>(calc.calculateButton()), static_cast<QWidget*>(calc.stopButton())})
            expectReachable(control, &calc, calcFrame);
        EXPECT_FALSE(copy->geometry().intersects(statistics->geometry()))
            << describe(copy->geometry()) << " over " << describe(statistics->geometry());
        if (c.wholeCalculation) {
            // Room enough: tiled at the size that shows all of it, nothing to scroll.
            auto* scroll = calc.findChild<QScrollArea*>();
            EXPECT_NE(scroll, nullptr);
            if (scroll) {
                EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
                EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
            }
        }
        if (c.nine)
            for (QWidget* button : {static_cast<QWidget*>(p.input.window()->okButton()),
                                    static_cast<QWidget*>(p.input.window()->cancelButton())})
                expectReachable(button, p.input.window(), Program::frame(*p.input.window()));
        p.capture((std::string("places-arrange-") + std::to_string(c.main.width()) + (c.nine ? "-nine" : "") +
                   ".png")
                      .c_str());
    }
}

// On a 1366 x 768 screen the calculation window opened below the work area's edge: its
// statistics, its copy button and Close were cut or reached only by scrolling the work area. It
// opens inside the area and scrolls its own content to them.
TEST(WindowPlaces, CalculationWindowFitsASmallScreensWorkArea) {
    Program p(QSize(1366, 742));
    p.showMain();
    FormTrafoBerechnung& calc = p.calculation.ensureOpen();
    QApplication::processEvents();
    QMdiSubWindow* sub = Program::frame(calc);
    expectInsideAndUsable(p.area(), sub);
    EXPECT_FALSE(p.area().horizontalScrollBar()->isVisible());
    EXPECT_FALSE(p.area().verticalScrollBar()->isVisible());
    EXPECT_TRUE(sub->rect().contains(calc.geometry()))
        << describe(calc.geometry()) << " in " << describe(sub->rect());
    for (QWidget* control :
         {calc.findChild<QWidget*>("Frame1"), calc.findChild<QWidget*>("TestButton"),
          static_cast<QWidget*>(calc.calculateButton()), static_cast<QWidget*>(calc.closeButton())})
        expectReachable(control, &calc, sub);
    // The status bar stays in view whatever the content's scroll position.
    QWidget* bar = calc.findChild<QWidget*>("StatusBar");
    ASSERT_NE(bar, nullptr);
    expectControlInside(bar, sub);
}

// The details window's panels need more than a 1366 x 768 screen's work area: it reached past its
// right edge, its close box and the Monte Carlo panel reached only by scrolling the work area. It
// opens inside the area, scrolls its panels inside itself and keeps its buttons in view.
TEST(WindowPlaces, DetailsWindowFitsASmallScreensWorkArea) {
    Program p(QSize(1366, 742));
    DetailsWindows details{p.job, p.events, p.main, p.prompter, p.dialogs};
    p.showMain();
    FormTrafoDetails& form = details.ensureOpen();
    QApplication::processEvents();
    QMdiSubWindow* sub = Program::frame(form);
    expectInsideAndUsable(p.area(), sub);
    EXPECT_FALSE(p.area().horizontalScrollBar()->isVisible());
    EXPECT_FALSE(p.area().verticalScrollBar()->isVisible());
    for (QWidget* control :
         {static_cast<QWidget*>(form.closeButton()), static_cast<QWidget*>(form.clipAllButton())})
        expectControlInside(control, sub);
    expectReachable(form.monteCarloGrid(), &form, sub);
    expectReachable(form.scaleGrid(), &form, sub);
}

// The size the tiling takes for a window and the size the window keeps are one figure: in a
// 640 x 480 main window the calculation window came out 698 px wide while the tiling took its
// minimum as 1056 x 765, and its content, wider than its frame, was cut.
TEST(WindowPlaces, CalculationWindowKeepsTheSizeTheTilingTakes) {
    Program p(QSize(640, 480));
    p.showMain();
    FormTrafoBerechnung& calc = p.calculation.ensureOpen();
    QApplication::processEvents();
    QMdiSubWindow* sub = Program::frame(calc);
    expectInsideAndUsable(p.area(), sub);
    EXPECT_TRUE(sub->rect().contains(calc.geometry()))
        << describe(calc.geometry()) << " in " << describe(sub->rect());
    // Made as small as it goes, it is exactly the size the tiling counts with.
    sub->resize(1, 1);
    sub->resize(sub->size().expandedTo(sub->minimumSizeHint()));
    QApplication::processEvents();
    EXPECT_EQ(sub->size(), usableMinimumSize(sub));
    EXPECT_TRUE(sub->rect().contains(calc.geometry()))
        << describe(calc.geometry()) << " in " << describe(sub->rect());
    p.run(Command::ArrangeWindows);
    expectInsideAndUsable(p.area(), sub);
    EXPECT_TRUE(sub->rect().contains(calc.geometry()))
        << describe(calc.geometry()) << " in " << describe(sub->rect());
}

// Cascade and Arrange while the work area is scrolled: the places were taken in the scrolled
// view, so every window stood the scroll offset away from its place (an empty band at the left,
// a window cut at the right). They are the area's own places, whatever its scroll position.
TEST(WindowPlaces, CascadeAndArrangeWhileTheWorkAreaIsScrolled) {
    for (const Command command : {Command::CascadeWindows, Command::ArrangeWindows}) {
        SCOPED_TRACE(command == Command::CascadeWindows ? "Cascade" : "Arrange");
        Program p(QSize(1000, 700));
        p.showMain();
        QMdiSubWindow* first = Program::frame(p.open());
        QMdiSubWindow* second = Program::frame(p.open());
        first->setGeometry(0, 0, 300, 250);
        second->setGeometry(900, 700, 300, 250);  // past both edges: the area scrolls
        QApplication::processEvents();
        ASSERT_TRUE(p.area().horizontalScrollBar()->isVisible());
        p.area().horizontalScrollBar()->setValue(p.area().horizontalScrollBar()->maximum());
        p.area().verticalScrollBar()->setValue(p.area().verticalScrollBar()->maximum());
        QApplication::processEvents();
        ASSERT_GT(p.area().horizontalScrollBar()->value(), 0);

        p.area().setActiveSubWindow(second);
        p.run(command);
        QApplication::processEvents();
        EXPECT_FALSE(p.area().horizontalScrollBar()->isVisible());
        EXPECT_FALSE(p.area().verticalScrollBar()->isVisible());
        for (QMdiSubWindow* sub : {first, second}) expectInsideAndUsable(p.area(), sub);
        if (command == Command::CascadeWindows) {
            // The window at the back at the area's corner, the next one step on.
            const int step = cascadeStep(p.area());
            EXPECT_EQ(first->pos(), QPoint(0, 0)) << describe(first->geometry());
            EXPECT_EQ(second->pos(), QPoint(step, step)) << describe(second->geometry());
        } else {
            // The active window's column at the left edge, the other beside it to the right edge.
            EXPECT_EQ(second->pos(), QPoint(0, 0)) << describe(second->geometry());
            EXPECT_EQ(first->pos(), QPoint(second->width(), 0)) << describe(first->geometry());
            EXPECT_EQ(first->geometry().right() + 1, p.area().viewport()->width());
        }
    }
}

// Once the main window has settled, narrowing it is the user's doing: the child windows stay
// where they are (the work area scrolls to them), none is moved or squeezed.
TEST(WindowPlaces, NarrowingTheMainWindowAfterStartUpMovesNoChildWindow) {
    Program p(QSize(1200, 800));
    p.showMain();
    QApplication::setActiveWindow(&p.main);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p.main));
    QApplication::processEvents();
    QMdiSubWindow* sub = Program::frame(p.open());
    sub->setGeometry(700, 300, 400, 300);
    QApplication::processEvents();
    const QRect before = sub->geometry();
    p.main.resize(800, 500);
    QApplication::processEvents();
    EXPECT_EQ(sub->geometry(), before) << describe(sub->geometry());
}

// A window opened into a work area smaller than its minimum keeps its minimum: it is moved into
// the corner and shrunk only as far as it can be used, never squeezed to the area.
TEST(WindowPlaces, WindowOpenedIntoAnAreaSmallerThanItsMinimumKeepsItsMinimum) {
    const std::string ini =
        "[Window]\r\nFormMainSheetHeight=4800\r\nFormMainSheetTop=600\r\n"
        "FormMainSheetWidth=6300\r\nFormMainSheetLeft=600\r\n\r\n[LastEntry]\r\n";
    Program p(QSize(340, 262), ini);
    p.showMain();
    p.sheet.fill();
    QApplication::processEvents();
    QMdiSubWindow* sub = Program::frame(*p.sheet.window());
    const QSize least = usableMinimumSize(sub);
    const QSize area = p.area().viewport()->size();
    ASSERT_GT(least.height(), area.height()) << "the area is to be smaller than the sheet's minimum";
    EXPECT_GE(sub->width(), least.width());
    EXPECT_GE(sub->height(), least.height());
    EXPECT_EQ(sub->pos(), QPoint(0, 0)) << describe(sub->geometry());
}

// Input Files was tiled 525 px wide with its OK, Apply and Cancel outside it: it declared no
// minimum, so the even share was taken.
TEST(WindowPlaces, ArrangedInputFilesKeepsItsButtonsInside) {
    Program p(QSize(1200, 800));
    p.showMain();
    p.open();
    p.open();
    FormInputFiles& in = p.input.open();
    QApplication::processEvents();
    p.run(Command::ArrangeWindows);
    for (QMdiSubWindow* sub : p.area().subWindowList()) expectInsideAndUsable(p.area(), sub);
    for (QWidget* button : {static_cast<QWidget*>(in.okButton()), static_cast<QWidget*>(in.applyButton()),
                            static_cast<QWidget*>(in.cancelButton())})
        expectControlInside(button, Program::frame(in));
}

// At start-up the windows open before the main window is shown: a stored place inside the screen
// but outside the smaller work area (what a row of columns past the right edge stored) came back
// partly outside it.
TEST(WindowPlaces, StoredPlaceOutsideTheWorkAreaIsMovedInsideOnRestore) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    auto twips = [dpi](int px) { return std::to_string(static_cast<int>(pixelsToTwips(px, dpi))); };
    // 420 x 320 px at the screen's right edge.
    const std::string ini = "[Window]\r\nFormMainSheetHeight=" + twips(320) +
                            "\r\nFormMainSheetTop=" + twips(40) + "\r\nFormMainSheetWidth=" + twips(420) +
                            "\r\nFormMainSheetLeft=" + twips(screen.width() - 430) +
                            "\r\n\r\n[LastEntry]\r\n";
    Program p(QSize(screen.width() - 200, screen.height() - 100), ini);
    p.sheet.fill();  // before the main window is shown, as a job given on the command line
    p.showMain();
    QMdiSubWindow* sub = Program::frame(*p.sheet.window());
    expectInsideAndUsable(p.area(), sub);
    EXPECT_EQ(sub->size(), QSize(420, 320));  // the stored size, moved only
}

// The analysis window has no stored place: the work area's own placement, made before the window
// was given its size, put it partly past the right edge.
TEST(WindowPlaces, DistanceScaleOpensInsideTheWorkArea) {
    Program p(QSize(1200, 800));
    p.showMain();
    // Three graphics windows along the top leave room only at the right.
    for (int i = 0; i < 3; ++i) Program::frame(p.open())->setGeometry(i * 300, 0, 300, 500);
    p.charts.distanceScale();
    QApplication::processEvents();
    ASSERT_EQ(p.area().subWindowList().size(), 4);
    for (QMdiSubWindow* sub : p.area().subWindowList()) expectInsideAndUsable(p.area(), sub);
}

// Loaded through a maximised Input Files window, which its load closed, the units window opens at
// its own size; chosen again while another window is maximised, the work area maximised it as it
// brought it to the front, its check box far from its label.
TEST(WindowPlaces, UnitsWindowKeepsItsOwnSizeBesideAMaximisedWindow) {
    Program p(QSize(1200, 800));
    p.showMain();
    p.open();
    FormInputFiles& in = p.input.open();
    Program::frame(in)->showMaximized();
    QApplication::processEvents();
    in.pathBox(PathBox::Mcs)->setText(QString::fromStdString(example("cell-mcs-xyz.txt")));
    in.pathBox(PathBox::Mcs)->textEdited(in.pathBox(PathBox::Mcs)->text());
    in.pathBox(PathBox::Ocs)->setText(QString::fromStdString(example("cell-ocs.dat")));
    in.pathBox(PathBox::Ocs)->textEdited(in.pathBox(PathBox::Ocs)->text());
    in.formatList()->setCurrentIndex(kOcsKuka);
    in.byIdOption()->click();
    p.prompter.answer(platform::Answer::Yes);  // "Overwrite old Points?"
    in.okButton()->click();
    QApplication::processEvents();
    ASSERT_EQ(p.job.IdenticalCount, 6);
    ASSERT_EQ(p.input.window(), nullptr);

    p.run(Command::Units);
    FormUnits* units = p.settings.unitsWindow();
    ASSERT_NE(units, nullptr);
    QMdiSubWindow* sub = Program::frame(*units);
    EXPECT_FALSE(sub->isMaximized());
    EXPECT_LT(sub->width(), p.area().viewport()->width());
    expectInsideAndUsable(p.area(), sub);
    const QSize own = sub->size();

    // Chosen again while a graphics window is maximised: the work area maximised the units
    // window as it brought it to the front.
    QMdiSubWindow* graphics = Program::frame(*p.screens.windows().front());
    p.area().setActiveSubWindow(graphics);
    graphics->showMaximized();
    QApplication::processEvents();
    p.run(Command::Units);
    EXPECT_EQ(p.area().activeSubWindow(), sub);
    EXPECT_FALSE(sub->isMaximized());
    EXPECT_EQ(sub->size(), own);
}

// Cascade with the calculation window third, taller than the work area below its step: it went
// back to the corner, onto the main sheet's exact place, and hid its title bar.
TEST(WindowPlaces, CascadeKeepsEveryTitleBarInView) {
    Program p(QSize(1200, 860));
    p.showMain();
    p.sheet.fill();
    p.open();
    FormTrafoBerechnung& calc = p.calculation.ensureOpen();
    QApplication::processEvents();
    p.area().setActiveSubWindow(Program::frame(calc));
    p.run(Command::CascadeWindows);

    const int step = cascadeStep(p.area());
    const QList<QMdiSubWindow*> back = p.area().subWindowList(QMdiArea::StackingOrder);
    ASSERT_EQ(back.size(), 3);
    EXPECT_EQ(back.last(), Program::frame(calc));
    for (int i = 0; i < back.size(); ++i) {
        SCOPED_TRACE(back[i]->windowTitle().toStdString());
        // The title bar of each window: no window in front of it covers any of it.
        const QRect title(back[i]->geometry().topLeft(), QSize(back[i]->width(), step));
        for (int j = i + 1; j < back.size(); ++j)
            EXPECT_FALSE(back[j]->geometry().intersects(title))
                << back[j]->windowTitle().toStdString() << " at " << describe(back[j]->geometry());
        const QSize least = usableMinimumSize(back[i]);
        EXPECT_GE(back[i]->width(), least.width());
        EXPECT_GE(back[i]->height(), least.height());
    }
}

// In a work area smaller than a window's minimum, Cascade keeps the window at its minimum, in view
// at the area's corner, and the area scrolls to the rest.
TEST(WindowPlaces, CascadeInAWorkAreaSmallerThanAWindowsMinimumScrolls) {
    Program p(QSize(340, 262));
    p.showMain();
    QMdiSubWindow* sub = Program::frame(p.open());
    QApplication::processEvents();
    p.run(Command::CascadeWindows);
    QApplication::processEvents();
    const QSize least = usableMinimumSize(sub);
    ASSERT_GT(least.height(), p.area().viewport()->height());
    EXPECT_GE(sub->width(), least.width());
    EXPECT_GE(sub->height(), least.height());
    EXPECT_EQ(sub->pos(), QPoint(0, 0));
    EXPECT_TRUE(p.area().verticalScrollBar()->isVisible());
    EXPECT_GE(p.area().verticalScrollBar()->maximum(), least.height() - p.area().viewport()->height());
}

}  // namespace
}  // namespace kal
