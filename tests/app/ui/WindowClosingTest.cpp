#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/CalculationWindows.h"
#include "app/ChartWindows.h"
#include "app/ColorBarWindows.h"
#include "app/DetailsWindows.h"
#include "app/InputToolWindows.h"
#include "app/InputWindows.h"
#include "app/SettingsWindows.h"
#include "app/SheetWindows.h"
#include "app/ViewRecordWindows.h"
#include "support/FakeFileDialogs.h"
#include "support/TempDir.h"
#include "support/ui/GraphicsProgram.h"

namespace kal {
namespace {

// The demo job with every window a menu opens, wired as the program wires them.
struct Program : testing::GraphicsProgram {
    testing::TempDir dir;
    testing::FakeFileDialogs dialogs;
    CalculationWindows calculation{job, events, main, prompter};
    SheetWindows sheet{job, events, main, prompter};
    InputWindows input{job, events, main, prompter, dialogs, &calculation};
    InputToolWindows inputTools{job, events, main, prompter};
    SettingsWindows settings{job, events, main, prompter, calculation};
    DetailsWindows details{job, events, main, prompter, dialogs};
    ChartWindows charts{job, events, main, prompter, dialogs};
    ViewRecordWindows views{job, events, main, prompter};
    ColorBarWindows colourBar{job, main, prompter, screens};

    Program() {
        job.IniFilePath = dir.write("Kalvoreth.ini", "[Units]\r\nUnitLength=millimeter\r\n");
        job.AppDataFolder = dir.file("data");
        input.setInputTools(&inputTools);
        views.attachScreens(screens);
        colourBar.attach(events, views);
        show();
    }
};

bool hasCloseButton(Qt::WindowFlags f) {
    if (f.testFlag(Qt::FramelessWindowHint)) return false;
    return !f.testFlag(Qt::CustomizeWindowHint) || f.testFlag(Qt::WindowCloseButtonHint);
}

// A child window shows a close button only with its system menu, whose Close takes Ctrl+F4.
QAction* closeActionOf(QMdiSubWindow* sub) {
    if (!sub->windowFlags().testFlag(Qt::WindowSystemMenuHint) || !hasCloseButton(sub->windowFlags()) ||
        !sub->systemMenu())
        return nullptr;
    for (QAction* a : sub->systemMenu()->actions())
        if (a->shortcut() == QKeySequence(QString::fromLatin1(kChildWindowCloseShortcut)) && a->isEnabled())
            return a;
    return nullptr;
}

std::string nameOf(const QWidget* w) {
    const QWidget* inner = w;
    if (const auto* sub = qobject_cast<const QMdiSubWindow*>(w); sub && sub->widget()) inner = sub->widget();
    return inner->objectName().toStdString() + " \"" + w->windowTitle().toStdString() + "\"";
}

struct Shown {
    std::set<QWidget*> children, windows;
};

Shown shownWindows(Program& p) {
    Shown s;
    for (QMdiSubWindow* sub : p.main.mdiArea()->subWindowList())
        if (sub->isVisible()) s.children.insert(sub);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != &p.main && w->isVisible() && w->isWindow() && !qobject_cast<QMenu*>(w)) s.windows.insert(w);
    return s;
}

// Checks a top-level window's close button, then closes it as its button would.
void closeTopLevel(QWidget* w, std::vector<std::string>& closed) {
    EXPECT_TRUE(hasCloseButton(w->windowFlags())) << nameOf(w) << " has no close button";
    closed.push_back(nameOf(w));
    w->close();
}

// Opens what `open` opens, checks that every new window can be closed, and closes it by its close
// action: a child window by its system menu's Close (the close button's), a window by close().
// A modal window is closed from inside its own event loop. Returns the names of what was closed.
std::vector<std::string> openAndCloseAll(Program& p, const std::function<void()>& open) {
    std::vector<std::string> closed;
    const Shown before = shownWindows(p);
    QTimer modalWatch;
    modalWatch.setInterval(10);
    QObject::connect(&modalWatch, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && !before.windows.count(modal))
            closeTopLevel(modal, closed);
    });
    modalWatch.start();
    open();
    for (int k = 0; k < 5; ++k) QApplication::processEvents();
    modalWatch.stop();

    // Closing one window may close or delete another (the last graphics window takes the colour
    // bar with it): the windows of their own go first, and each is looked at only while shown.
    const Shown after = shownWindows(p);
    std::vector<QPointer<QMdiSubWindow>> children;
    std::vector<QPointer<QWidget>> windows;
    for (QWidget* w : after.children)
        if (!before.children.count(w)) children.emplace_back(static_cast<QMdiSubWindow*>(w));
    for (QWidget* w : after.windows)
        if (!before.windows.count(w)) windows.emplace_back(w);
    for (const QPointer<QWidget>& w : windows)
        if (w && w->isVisible()) closeTopLevel(w, closed);
    QApplication::processEvents();
    for (const QPointer<QMdiSubWindow>& sub : children) {
        if (!sub || !sub->isVisible()) continue;
        QAction* close = closeActionOf(sub);
        EXPECT_NE(close, nullptr) << nameOf(sub) << " has no close button";
        if (!close) continue;
        const std::string name = nameOf(sub);
        closed.push_back(name);
        close->trigger();
        QApplication::processEvents();
        EXPECT_TRUE(!sub || !sub->isVisible()) << name << " stays open after its Close";
    }
    return closed;
}

// Every window a user opens from a menu can be closed again: a child window has a close button
// (the trumpet graph once had none) and its Close; a window of its own a close button.
TEST(WindowClosing, EveryWindowOpenedFromAMenuHasACloseAction) {
    Program p;
    p.job.AuswahlPkt = {0.0, 0.12, -0.3, 0.05};
    p.job.AnzAuswahl = 3;
    auto trigger = [&p](Command c) { return [&p, c] { p.main.action(c)->trigger(); }; };
    const struct {
        const char* what;
        std::function<void()> open;
    } cases[] = {
        {"Input Files", trigger(Command::InputFiles)},
        {"Units", trigger(Command::Units)},
        {"Calculation", trigger(Command::CalculationWindow)},
        {"Batch Transform", trigger(Command::BatchTransform)},
        {"Distance Scale", trigger(Command::DistanceScale)},
        {"Trumpet Graph",
         [&p] {
             p.main.action(Command::DistanceScale)->trigger();
             for (int k = 0; k < 5; ++k) QApplication::processEvents();
             ASSERT_NE(p.charts.distanceWindow(), nullptr);
             p.charts.distanceWindow()->trumpetGraphButton()->click();
             ASSERT_NE(p.charts.trumpetWindow(), nullptr);
         }},
        {"Graph Data", trigger(Command::GraphData)},
        {"MainSheet", trigger(Command::MainSheet)},
        {"Input Statistic", trigger(Command::InputStatistic)},
        {"Options", trigger(Command::Options)},
        {"Info", trigger(Command::Info)},
        {"Graphics Window", trigger(Command::GraphicsWindow)},
        {"Color Bar",
         [&p] {
             p.main.action(Command::GraphicsWindow)->trigger();
             p.main.action(Command::ColorBar)->trigger();
         }},
        {"General Graphics Settings", trigger(Command::GeneralGraphicsSettings)},
        {"BlackPlane",
         [&p] {
             p.main.action(Command::GraphicsWindow)->trigger();
             p.main.action(Command::HidingPlane)->trigger();
         }},
        {"Transformation details", [&p] { p.details.ensureOpen(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::string> closed = openAndCloseAll(p, c.open);
        EXPECT_FALSE(closed.empty()) << c.what << " opened no window";
        EXPECT_TRUE(shownWindows(p).children.empty()) << c.what << " left a child window open";
    }
}

}  // namespace
}  // namespace kal
