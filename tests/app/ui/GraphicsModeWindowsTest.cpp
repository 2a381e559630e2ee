#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QToolBar>
#include <cmath>
#include <set>

#include "app/CalculationWindows.h"
#include "app/ColorBarWindows.h"
#include "app/GraphicsModeWindows.h"
#include "app/ScreenNavigationWindows.h"
#include "app/SheetWindows.h"
#include "app/ViewRecordWindows.h"
#include "platform/Regional.h"
#include "shell/ui/FormMain.h"
#include "support/FakePlatform.h"
#include "support/SampleJobs.h"
#include "support/ui/GraphicsProgram.h"
#include "view3d/CloudProjection.h"
#include "view3d/HidingPlane.h"
#include "view3d/McsExtents.h"
#include "view3d/ui/ScreenNavigationInput.h"
#include "calculation/ui/PointTable.h"

namespace kal {
namespace {

using testing::NoFontDialogs;
using testing::pixelOf;

// The demo job with the graphics windows wired as the program wires them.
struct Program : testing::GraphicsProgram {
    SheetWindows sheet{job, events, main, prompter};
    ScreenNavigationWindows navigation{job, screens, std::make_unique<NoFontDialogs>()};
    ViewRecordWindows records{job, events, main, prompter, {}};
    ColorBarWindows colourBar{job, main, prompter, screens};
    GraphicsModeWindows modes{job, events, main, screens};
    CalculationWindows calculation{job, events, main, prompter};

    Program() {
        calculation.setPointSelected([this](const std::string& name) { modes.tablePointSelected(name); });
        sheet.setPointSelected([this](const std::string& name) { screens.selectPoint(name); });
        records.attachScreens(screens);
        colourBar.attach(events, records);
        modes.setMainSheet([this](const std::string& name) { return sheet.goToPoint(name); });
        navigation.setPointPicked(
            [this](FormScreen& w, const std::string& name) { modes.pointPicked(w, name); });
        show();
    }
};

double axisDiagonal(FormScreen& w, const JobState& job) {
    OverlayState& o = w.model().overlays;
    return o.extents.diagonal(job, o.jobChange);
}

// The axes are sized by the MCS box, cached per window: new points of the same count must
// still resize them, whichever event brings them.
TEST(GraphicsModeWindows, AxisLengthFollowsNewPointsOfTheSameCount) {
    for (JobEvent event : {JobEvent::PointsReplaced, JobEvent::JobReset}) {
        Program p;
        FormScreen& first = p.open();
        FormScreen& second = p.open();
        const double before = axisDiagonal(first, p.job);
        EXPECT_EQ(axisDiagonal(second, p.job), before);
        for (std::int32_t i = 1; i <= p.job.McsCount; ++i) {
            p.job.MCS_X.set(i, p.job.MCS_X[i] * 10);
            p.job.MCS_Y.set(i, p.job.MCS_Y[i] * 10);
            p.job.MCS_Z[static_cast<std::size_t>(i)] *= 10;
        }
        p.events.publish(event);
        EXPECT_NEAR(axisDiagonal(first, p.job), 10 * before, 1e-6 * before) << static_cast<int>(event);
        EXPECT_NEAR(axisDiagonal(second, p.job), 10 * before, 1e-6 * before) << static_cast<int>(event);
        EXPECT_TRUE(first.redrawPending());
    }
}

// The axis captions go through the same placement as the point names.
TEST(GraphicsModeWindows, AxisCaptionsArePlacedLikeThePointNames) {
    Program p;
    p.job.GraphicsFlags.ShowCoordinateSystemLabels = true;
    std::vector<std::string> placed;
    auto names = p.screens.scene().stages.nameLabel;
    ASSERT_TRUE(names);
    p.screens.scene().stages.nameLabel = [&](RedrawContext& ctx, const std::string& text, float x, float y) {
        placed.push_back(text);
        names(ctx, text, x, y);
    };
    FormScreen& w = p.open();
    w.redraw();
    w.renderNow();
    const std::string ocsX = "x " + p.job.NameOCS;
    EXPECT_NE(std::find(placed.begin(), placed.end(), ocsX), placed.end());
}

// The usable part of the surface ends above the window's status bar.
TEST(GraphicsModeWindows, PixelWithinScreenKeepsClearOfTheStatusBar) {
    Program p;
    FormScreen& w = p.open();
    const ScreenModel& m = w.model();
    ASSERT_GT(w.statusBar()->height(), 0);
    EXPECT_EQ(m.statusBarHeight, w.statusBar()->height());
    EXPECT_EQ(surfaceOf(m).statusBarHeight, w.statusBar()->height());
    ViewArrays arrays;
    arrays.resize(1);
    arrays.PixelX[1] = 10;
    arrays.PixelY[1] = static_cast<float>(m.height - 6);  // inside the surface, over the bar's reach
    EXPECT_FALSE(pixelWithinScreen(arrays, 1, surfaceOf(m)));
    arrays.PixelY[1] = static_cast<float>(m.height - m.statusBarHeight - 5);
    EXPECT_TRUE(pixelWithinScreen(arrays, 1, surfaceOf(m)));
}

// Analyse mode projects the turned vectors with the job's vector direction: a default
// (correction) direction must give the opposite of the deviation direction.
TEST(GraphicsModeWindows, AnalyseModeAnimatesTheDefaultWindowWithTheJobsVectorDirection) {
    Program p;
    FormScreen& w = p.open();
    ScreenNavigationInput* input = ScreenNavigationWindows::of(w);
    ASSERT_NE(input, nullptr);
    EXPECT_FALSE(p.main.action(Command::AnalyseMore)->isEnabled());
    ASSERT_TRUE(p.main.action(Command::AnalyseMode)->isEnabled());

    std::vector<float> turned;
    for (bool direction : {true, false}) {
        p.job.GraphicsFlags.DevVecDirection = direction;
        p.run(Command::AnalyseMode);
        ASSERT_TRUE(input->analysing());
        turned.push_back(input->animationArrays().VectorPixelX[1]);
        p.run(Command::AnalyseMode);
    }
    ASSERT_NE(turned[0], 0.0f);
    EXPECT_FLOAT_EQ(turned[1], -turned[0]);

    p.run(Command::AnalyseMode);
    EXPECT_TRUE(input->analysing());
    EXPECT_TRUE(p.screens.session().AnalyseFlag);
    EXPECT_TRUE(p.main.action(Command::AnalyseMode)->isChecked());
    for (Command c : {Command::AnalyseMore, Command::AnalyseLess, Command::AnalyseKeepPoints})
        EXPECT_TRUE(p.main.action(c)->isEnabled());

    const int frames = w.frameCount();
    p.run(Command::AnalyseMode);
    EXPECT_FALSE(input->analysing());
    EXPECT_FALSE(p.screens.session().AnalyseFlag);
    EXPECT_FALSE(p.main.action(Command::AnalyseMore)->isEnabled());
    EXPECT_GT(w.frameCount(), frames);  // the plain picture is back
}

// A pick moves the shown main sheet to the point and makes it the point "Rotate about" turns
// about; with the sheet closed it only rings the point.
TEST(GraphicsModeWindows, APickMovesTheShownMainSheetToThePoint) {
    Program p;
    FormScreen& w = p.open();
    const std::int32_t row = p.job.IdenticalCount;  // the last identical point
    const std::string name = w.model().cloud.name(row);

    QTest::mouseClick(w.surface(), Qt::LeftButton, Qt::NoModifier, pixelOf(w, row));
    EXPECT_EQ(p.screens.session().SelectedPointName, name);
    EXPECT_EQ(p.job.OriginPointIndex, 0);  // no sheet shown
    EXPECT_TRUE(p.screens.session().OriginPointName.empty());

    p.sheet.fill();
    QApplication::processEvents();
    ASSERT_NE(p.sheet.window(), nullptr);
    p.main.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w.parentWidget()));
    QApplication::processEvents();
    w.renderNow();
    p.run(Command::RotateAbout);
    ASSERT_TRUE(p.main.action(Command::RotateAbout)->isChecked());
    QTest::mouseClick(w.surface(), Qt::LeftButton, Qt::NoModifier, pixelOf(w, row));
    const int sheetRow = p.sheet.window()->rowOfName(name);
    ASSERT_GE(sheetRow, 0);
    EXPECT_EQ(p.sheet.window()->grid()->currentIndex().row(), sheetRow);
    EXPECT_EQ(p.job.OriginPointIndex, sheetRow + 1);
    EXPECT_EQ(p.screens.session().OriginPointName, name);
    EXPECT_EQ(p.screens.session().SelectedPointName, name);
    EXPECT_FALSE(p.main.action(Command::RotateAbout)->isChecked());

    // The next frame turns about the picked point: it comes to the middle of the surface.
    w.redraw();
    w.renderNow();
    EXPECT_NEAR(w.model().arrays.PixelX[static_cast<std::size_t>(row)], w.model().width / 2.0, 1.5);
}

// A name chosen in the calculation window's point table takes the path of a pick: the sheet's
// current row moves to the point, which becomes the selected and origin point, but only while
// "Graphics Window" and "&MainSheet" both carry their check marks.
TEST(GraphicsModeWindows, ATablePickReachesTheSheetOnlyWithBothCheckMarks) {
    const struct {
        bool graphics, sheet, reaches;
    } cases[] = {{true, true, true}, {false, true, false}, {true, false, false}, {false, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("graphics ") + (c.graphics ? "open" : "closed") + ", sheet " +
                     (c.sheet ? "open" : "closed"));
        Program p;
        FormScreen* w = c.graphics ? &p.open() : nullptr;
        if (c.sheet) p.sheet.fill();
        PointTable& table = *p.calculation.ensureOpen().pointTable();
        QApplication::processEvents();
        if (w) {
            p.main.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
            QApplication::processEvents();
            p.run(Command::RotateAbout);
            ASSERT_TRUE(p.main.action(Command::RotateAbout)->isChecked());
        }
        ASSERT_EQ(p.main.action(Command::GraphicsWindow)->isChecked(), c.graphics);
        ASSERT_EQ(p.main.action(Command::MainSheet)->isChecked(), c.sheet);
        const std::string name = p.job.MCS_Name[static_cast<std::size_t>(p.job.IdenticalCount - 1)];
        const int sheetRowBefore = c.sheet ? p.sheet.window()->grid()->currentIndex().row() : -1;
        const std::int32_t originBefore = p.job.OriginPointIndex;
        const std::string selectedBefore = p.screens.session().SelectedPointName;
        ASSERT_NE(selectedBefore, name);
        const int tableRow = table.rowOfName(name);
        ASSERT_GE(tableRow, 0);

        table.setCurrentCell(tableRow, 2);  // a residual: no point is chosen
        EXPECT_EQ(p.job.OriginPointIndex, originBefore);
        EXPECT_EQ(p.screens.session().SelectedPointName, selectedBefore);
        if (w) w->renderNow();
        table.setCurrentCell(tableRow, 1);  // the name
        if (c.reaches) {
            const int sheetRow = p.sheet.window()->rowOfName(name);
            ASSERT_GE(sheetRow, 0);
            EXPECT_NE(sheetRow, sheetRowBefore);
            EXPECT_EQ(p.sheet.window()->grid()->currentIndex().row(), sheetRow);
            EXPECT_EQ(p.job.OriginPointIndex, sheetRow + 1);
            EXPECT_EQ(p.screens.session().OriginPointName, name);
            EXPECT_EQ(p.screens.session().SelectedPointName, name);
            EXPECT_FALSE(p.main.action(Command::RotateAbout)->isChecked());
            EXPECT_TRUE(w->redrawPending()) << "the selected point is ringed in the next frame";
        } else {
            if (c.sheet) {
                EXPECT_EQ(p.sheet.window()->grid()->currentIndex().row(), sheetRowBefore);
            }
            EXPECT_EQ(p.job.OriginPointIndex, originBefore);
            EXPECT_NE(p.screens.session().OriginPointName, name);
            EXPECT_EQ(p.screens.session().SelectedPointName, selectedBefore);
            if (w) {
                EXPECT_TRUE(p.main.action(Command::RotateAbout)->isChecked());
            }
        }
    }
}

// Going to each point in turn highlights that point's row, however far right the current cell
// has wandered.
TEST(GraphicsModeWindows, GoingToEveryPointInTurnHighlightsItsRow) {
    Program p;
    p.sheet.fill();
    FormMainSheet& sheet = *p.sheet.window();
    std::vector<std::string> heard;
    QObject::connect(&sheet, &FormMainSheet::currentPointChanged,
                     [&](const QString& name) { heard.push_back(name.toStdString()); });
    std::vector<std::string> names;
    for (int round = 0; round < 5; ++round)
        for (std::int32_t i = p.job.IdenticalCount; i >= 1; --i)
            names.push_back(p.job.MCS_Name[static_cast<std::size_t>(i)]);
    for (const std::string& name : names) {
        const std::optional<int> row = p.sheet.goToPoint(name);
        ASSERT_TRUE(row);
        EXPECT_EQ(*row, sheet.rowOfName(name) + 1) << name;
        EXPECT_EQ(sheet.grid()->currentIndex().row(), sheet.rowOfName(name)) << name;
        ASSERT_FALSE(heard.empty());
        EXPECT_EQ(heard.back(), name);
    }
    EXPECT_EQ(p.sheet.goToPoint("no such point"), 0);
}

// The hiding plane's normal as each window last drew it reaches that window's navigation (the
// B and T drags read its signs).
TEST(GraphicsModeWindows, ThePlaneNormalReachesTheNavigationOfItsWindow) {
    Program p;
    FormScreen& first = p.open();
    FormScreen& second = p.open();
    ScreenModel& m = second.model();
    m.view.BlackPlane = true;
    initialiseHidingPlane(m.view, viewProjection(m.view, m.origin, surfaceOf(m)), true, false);
    second.redraw();
    second.renderNow();
    ASSERT_NE(m.overlays.hidingPlane.PlaneNormal, (std::array<double, 4>{}));
    for (FormScreen* w : {&first, &second}) {
        QTest::mouseMove(w->surface(), QPoint(30, 30));
        ScreenNavigationWindows::of(*w)->flushMove();
        EXPECT_EQ(ScreenNavigationWindows::of(*w)->navigator().PlaneNormal,
                  w->model().overlays.hidingPlane.PlaneNormal);
    }
    EXPECT_NE(ScreenNavigationWindows::of(first)->navigator().PlaneNormal,
              ScreenNavigationWindows::of(second)->navigator().PlaneNormal);
}

// A view stepped back to brings its colour settings into the shown dialog; new points close it.
TEST(GraphicsModeWindows, RestoredViewsRefillTheColourDialogAndNewPointsCloseIt) {
    Program p;
    FormScreen& w = p.open();
    p.run(Command::ColorBar);
    ASSERT_TRUE(p.colourBar.dialog() && p.colourBar.dialog()->isVisible());
    const std::int16_t before = w.model().view.AnzKlassenPos;
    w.storeView();
    w.model().view.AnzKlassenPos = static_cast<std::int16_t>(before + 3);
    w.storeView();
    p.colourBar.model().load();
    EXPECT_EQ(p.colourBar.model().fields().positiveCountText, std::to_string(before + 3));

    p.run(Command::LastView);
    EXPECT_EQ(w.model().view.AnzKlassenPos, before);
    EXPECT_EQ(p.colourBar.model().fields().positiveCountText, std::to_string(before));

    p.events.publish(JobEvent::PointsReplaced);
    QApplication::processEvents();
    EXPECT_FALSE(p.job.ColourBarShown);
    EXPECT_FALSE(p.colourBar.dialog() && p.colourBar.dialog()->isVisible());
}

// Every entry and button of the graphics menus and toolbars either runs its command or is
// greyed for a stated reason; none is silently dead.
TEST(GraphicsModeWindows, EveryGraphicsEntryWithAWindowIsLive) {
    Program p;
    p.open();
    const std::set<Command> waiting = {
        Command::AnalyseMore,   Command::AnalyseLess,    Command::AnalyseKeepPoints,  // analyse mode only
        Command::LastView,      Command::NextView,                                    // the ring decides
        Command::VectorsLonger, Command::VectorsShorter,                              // vector mode only
        Command::SetLines,      Command::DeleteLines,                                 // line mode only
        Command::ListViews,    // runs no command: kept greyed
        Command::DynamicFlag,  // the flags' own command, not wired in this fixture
    };
    std::vector<Command> graphics;
    for (auto c = static_cast<int>(Command::GraphicsMenu); c <= static_cast<int>(Command::NextView); ++c)
        graphics.push_back(static_cast<Command>(c));
    for (Command c : {Command::GraphicsButton, Command::ZoomOut, Command::ZoomIn, Command::ListViews,
                      Command::SavedViews})
        graphics.push_back(c);
    for (Command c : graphics) {
        const CommandInfo& info = commandInfo(c);
        if (info.kind == ControlKind::Separator) continue;
        const bool expectLive = !waiting.contains(c);
        EXPECT_EQ(p.main.commandConnected(c), c != Command::ListViews && c != Command::DynamicFlag)
            << info.objectName;
        EXPECT_EQ(p.main.action(c)->isEnabled(), expectLive) << info.objectName;
    }
}

}  // namespace
}  // namespace kal
