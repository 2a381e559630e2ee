#include <gtest/gtest.h>

#include <QImage>
#include <QMdiSubWindow>
#include <QToolBar>

#include "shell/ui/FormMain.h"
#include "support/FakePlatform.h"

namespace kal {
namespace {

struct FakeGraphicsWindow : GraphicsWindow {
    void setCaption(const std::string& c) override { caption = c; }
    GraphicsModes modes() const override { return m; }
    void setModes(const GraphicsModes& modes) override { m = modes; }
    void setPointer(GraphicsPointer p) override {
        pointer = p;
        ++pointerSets;
    }
    void redraw() override { ++redraws; }
    void closeWindow() override {}
    std::string caption;
    GraphicsModes m;
    GraphicsPointer pointer = GraphicsPointer::Default;
    int pointerSets = 0, redraws = 0;
};

struct Window {
    Window() : w(job, prompter) { w.setSplashInterval(-1); }
    JobState job;
    testing::FakePrompter prompter;
    FormMain w;
};

// As if every window behind the commands existed: the refresher's decisions reach every control.
void connectEveryCommand(FormMain& w) {
    for (const CommandInfo& row : commandTable()) w.connectCommand(row.command, [] {});
}

TEST(FormMain, AnEmptyJobShowsVersionAndTheUntitledName) {
    Window f;
    f.w.initializeJob();
    EXPECT_EQ(f.w.windowTitle().toStdString(), "Kalvoreth Version 2.0.63 | ..\\default.tfo");
    EXPECT_EQ(f.w.statusPanel(1)->text(), "millimeter");
    EXPECT_EQ(f.w.statusPanel(2)->text(), "degree");
}

TEST(FormMain, EveryControlTheRefresherNamesExists) {
    Window f;
    for (const CommandInfo& row : commandTable())
        EXPECT_NE(f.w.action(row.command), nullptr) << row.objectName;
    EXPECT_NE(f.w.comboSaveView(), nullptr);
    struct Button {
        Command command;
        const char* key;
        const char* tooltip;
    };
    const Button buttons[] = {
        {Command::NewJob, "FileNew", "New File"},
        {Command::SaveJob, "FileSave", "Save File"},
        {Command::InputFiles, "InputFiles", "Input Files"},
        {Command::CalculationWindow, "TrafoBerechnung", "Transformation Calculation"},
        {Command::GraphicsButton, "Graphics", "Graphics"},
        {Command::FlagMode, "FlagMode", "Flag Mode"},
        {Command::ColorBar, "ColorBar", "Color Bar"},
        {Command::VectorMode, "VectorMode", "Vector Mode on / off"},
        {Command::AnalyseMode, "AnalyseMode", "Anlalyse Mode on / off"},
        {Command::ListViews, "ListView", "List of stored Views"},
        {Command::NextView, "NextView", "next View"},
        {Command::DeleteLines, "DeleteLine", "Delete Line"},
    };
    for (const auto& b : buttons) {
        QToolButton* t = f.w.toolButton(b.command);
        ASSERT_NE(t, nullptr) << b.key;
        EXPECT_EQ(t->objectName(), b.key);
        EXPECT_EQ(t->toolTip(), b.tooltip);
    }
    // The graphics band from the left: its buttons by key, "|" for a separator line, nothing after.
    QString band;
    QToolBar* graphics = f.w.toolbar(Toolbar::ToolbarGraphics);
    for (QAction* a : graphics->actions())
        band += a->isSeparator() ? QString("|") : " " + graphics->widgetForAction(a)->objectName();
    EXPECT_EQ(band.toStdString(),
              " Graphics| RotateAbout| ViewTop ViewFront ViewSide| ViewIso| FlagMode| ZoomAll ZoomOut ZoomIn|"
              " ColorBar| PointsBigger PointsSmaller| VectorMode VectorLonger VectorShorter AnalyseMode");
    // Entries nothing may reach.
    EXPECT_FALSE(f.w.actionNamed("MenuFileJobInformation")->isEnabled());
    EXPECT_FALSE(f.w.actionNamed("MenueBuendel")->isVisible());
    EXPECT_FALSE(f.w.actionNamed("MenueBuendel")->isEnabled());
    EXPECT_FALSE(f.w.actionNamed("MenuemyTest")->isVisible());
    EXPECT_EQ(f.w.actionNamed("MenueGraphicsPrint")->text(), "Print \"Screen - DEFAULT\" to Clipboard");
    EXPECT_EQ(f.w.actionNamed("MenueHelpWubrant")->shortcut(), QKeySequence("Ctrl+W"));
}

// A button that runs a menu entry's command is that entry's action on the toolbar: it shows the
// entry's enabled state and check mark. Only "Graphics" keeps its own (its release on every
// closing window must not take the "Graphics Window" mark with it).
TEST(FormMain, MenuEntriesAndTheirButtonsShareOneAction) {
    Window f;
    int shared = 0;
    for (const CommandInfo& row : commandTable()) {
        if (row.kind != ControlKind::Entry || !row.hasButton()) continue;
        QToolButton* t = f.w.toolButton(row.command);
        ASSERT_NE(t, nullptr) << row.objectName;
        EXPECT_EQ(t->defaultAction(), f.w.actionNamed(row.objectName)) << row.objectName;
        ++shared;
    }
    EXPECT_EQ(shared, 26);
    EXPECT_NE(f.w.toolButton(Command::GraphicsButton)->defaultAction(),
              f.w.actionNamed("MenueGraphicsWindow"));

    f.w.show();
    QAction* vectors = f.w.actionNamed("MenueAnsichtVektorenVektorModeActive");
    vectors->setEnabled(true);
    vectors->setChecked(true);
    EXPECT_TRUE(f.w.toolButton(Command::VectorMode)->isChecked());
    vectors->setEnabled(false);
    EXPECT_FALSE(f.w.toolButton(Command::VectorMode)->isEnabled());
}

// A command nothing runs yet is greyed whatever the job allows, its button with it; once a
// handler is connected it follows the refresher and runs.
TEST(FormMain, AnEntryWithoutItsWindowIsDisabledNeverSilentlyDead) {
    Window f;
    f.job.DataLoaded = true;
    f.job.TrafoCalculated = true;
    f.w.refreshControls();
    for (Command c : {Command::InputFiles, Command::CalculationWindow, Command::Units, Command::ExportRobCad,
                      Command::Options, Command::GraphicsWindow, Command::GraphicsButton})
        EXPECT_FALSE(f.w.action(c)->isEnabled()) << commandInfo(c).objectName;
    EXPECT_FALSE(f.w.toolButton(Command::InputFiles)->isEnabled());
    // Menus stay usable, and so do the commands that exist.
    EXPECT_TRUE(f.w.action(Command::TransformationMenu)->isEnabled());
    for (Command c : {Command::NewJob, Command::OpenJob, Command::SaveJob, Command::SaveJobAs, Command::Exit})
        EXPECT_EQ(f.w.commandConnected(c), c == Command::Exit) << commandInfo(c).objectName;

    int runs = 0;
    f.w.connectCommand(Command::InputFiles, [&runs] { ++runs; });
    EXPECT_TRUE(f.w.action(Command::InputFiles)->isEnabled());
    EXPECT_TRUE(f.w.toolButton(Command::InputFiles)->isEnabled());
    f.w.toolButton(Command::InputFiles)->click();
    EXPECT_EQ(runs, 1);
    f.w.setLongWorkRunning(true);  // the refresher still decides for a connected command
    EXPECT_FALSE(f.w.action(Command::InputFiles)->isEnabled());
}

// Every menu entry with its caption and shortcut, letter for letter.
TEST(FormMain, MenuCaptionsAndShortcutsAreTheProgramsOwn) {
    Window f;
    struct Entry {
        const char* name;
        const char* caption;
        const char* shortcut;
    };
    const Entry entries[] = {
        {"MenuFile", "&File", ""},
        {"MenuFileNew", "&New", ""},
        {"MenuFileOpen", "&Open", ""},
        {"MenuFileSave", "&Save", ""},
        {"MenuFileSaveAs", "Save &as", ""},
        {"MenuFileInputFiles", "&Input Files", "Ctrl+I"},
        {"MenuFileJobInformation", "&Job Information", ""},
        {"MenueFileExport", "E&xport", ""},
        {"MenueFileExportRobCad", "Rob&Cad Robface *.rf File", ""},
        {"MenueFileExportROCAL", "&Rocal *.bas File", ""},
        {"MenueOnlyMCStoTilde", "OnlyMCS Pts to txt File", "F9"},
        {"MenuFileExit", "&Exit", ""},
        {"MenuEdit", "&Edit", ""},
        {"MenuEditCopy", "Copy", "Ctrl+C"},
        {"MenuEditGraphData", "Graph Data", ""},
        {"MenuSettings", "&Settings", ""},
        {"MenuSettingsUnits", "&Units", ""},
        {"MenuTransformation", "&Transformation", ""},
        {"MenuTransformationCalculation", "&Calculation", ""},
        {"MenueTransformationBatch", "Batch Transform", ""},
        {"MenuTransformationDistanceScale", "&Distance Scale", ""},
        {"MenueGraphics", "Graphics", ""},
        {"MenueGraphicsWindow", "Graphics Window", ""},
        {"MenueAnsichtAnpassen", "&Adjust", "Ctrl+A"},
        {"MenueAnsichtcenter", "Center", "Ctrl+F1"},
        {"MenueGrafikBlackPlane", "BlackPlane", "F7"},
        {"MenueGraphicsPrint", "Print \"Screen - DEFAULT\" to Clipboard", "Ctrl+D"},
        {"MenueGlobalRotateAbout", "Rotate about", "Ctrl+U"},
        {"MenueAnsichtTopview", "Top View", "Ctrl+T"},
        {"MenueAnsichtSideView", "Side View", "Ctrl+S"},
        {"MenueAnsichtFrontView", "Front View", "Ctrl+F"},
        {"MenueAnsichtIsometricView", "Isometric View", ""},
        {"MenueGlobalFlagsMode", "Flags Mode", "F5"},
        {"MenueAnsichtDynamicFlag", "Dynamic Flag", "F6"},
        {"MenueAnsichtPunkte", "Points", ""},
        {"MenueAnsichtPunkteBigger", "Bigger", "Ctrl+B"},
        {"MenueAnsichtPunkteSmaller", "Smaller", "Ctrl+M"},
        {"MenueAnsichtPunkteSmallPoints", "Small Points (Pixel)", "Ctrl+P"},
        {"MenueAnsichtVektoren", "Vectors", ""},
        {"MenueAnsichtVektorenVektorModeActive", "Vector Mode Active", "Ctrl+V"},
        {"MenueAnsichtVektorenLonger", "longer", "Ctrl+L"},
        {"MenueAnsichtVektorenShorter", "shorter", "Ctrl+H"},
        {"MenueAnsichtAnalyse", "Analyse", ""},
        {"MenueAnsichtAnalyseModeActive", "Analyse Mode Active", "Ctrl+X"},
        {"MenueAnsichtAnalyseModeMore", "more", "F3"},
        {"MenueAnsichtAnalyseModeLess", "less", "F4"},
        {"MenueAnsichtAnalyseKeepPoints", "KeepPoints", "Ctrl+K"},
        {"MenueAnsichtToleranzen", "&Tolerance", ""},
        {"MenueAnsichtToleranzenColorbar", "Color Bar", "Ctrl+R"},
        {"MenueAnsichtToleranzenEinstellungen", "Settings", "Ctrl+E"},
        {"MenueGraphicsLines", "Lines", ""},
        {"MenueGraphicsLinesLineModeActive", "Line Mode Active", "F8"},
        {"MenueGraphicsLinesSetLines", "Set Lines", ""},
        {"MenueGraphicsLinesDeleteLines", "Delete Lines", ""},
        {"MenueGlobalGraphics", "Global Graphics", ""},
        {"MenueGlobalGeneralGraphicsSettings", "General Graphics Settings", ""},
        {"MenueViewS", "&Views", ""},
        {"MenueViewSaveView", "&Save View", ""},
        {"MenueViewDeleteView", "&Delete View", ""},
        {"MenueViewLastView", "&last View", "Ctrl+Z"},
        {"MenueViewNextView", "&next View", "Ctrl+Y"},
        {"MenueExtras", "&Extras", ""},
        {"MenueExtrasOptions", "&Options", ""},
        {"MenuemyTest", "myTest", "Ctrl+Shift+F12"},
        {"MenueWindow", "Window", ""},
        {"MenuVievMainSheet", "&MainSheet", ""},
        {"MenueViewInputStatistic", "&Input Statistic", ""},
        {"MenueWindowArrange", "&Arrange", ""},
        {"MenueWindowCascade", "&Cascade", ""},
        {"MenueBuendel", "B\u00FCndel", ""},
        {"MenueHilfe", "Help", ""},
        {"MenueHelpQuestion", "Documentation", "F1"},
        {"MenuHelpInfo", "&Info", ""},
        {"MenueHelpWubrant", "&Spezial", "Ctrl+W"},
    };
    for (const auto& e : entries) {
        QAction* a = f.w.actionNamed(e.name);
        ASSERT_NE(a, nullptr) << e.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(e.caption)) << e.name;
        EXPECT_EQ(a->shortcut(), QKeySequence(e.shortcut)) << e.name;
    }
}

TEST(FormMain, AppliesTheJobStateToMenusButtonsAndRecentEntries) {
    Window f;
    connectEveryCommand(f.w);
    f.job.RecentFiles = {"", "/jobs/R&D.tfo", "", "", ""};
    f.w.refreshControls();
    EXPECT_FALSE(f.w.action(Command::EditMenu)->isEnabled());
    EXPECT_FALSE(f.w.toolButton(Command::GraphicsButton)->isEnabled());
    EXPECT_FALSE(f.w.action(Command::ExportMenu)->isEnabled());
    EXPECT_EQ(f.w.action(Command::ExportMenu)->text(), "E&xport");
    EXPECT_EQ(f.w.action(Command::RecentFile1)->text(), "&1 /jobs/R&&D.tfo");
    EXPECT_EQ(f.w.action(Command::RecentFile3)->text(), "&3 ");
    EXPECT_FALSE(f.w.action(Command::RecentFile3)->isEnabled());

    f.job.DataLoaded = true;
    f.job.TrafoCalculated = true;
    f.w.refreshControls();
    EXPECT_TRUE(f.w.action(Command::EditMenu)->isEnabled());
    EXPECT_TRUE(f.w.toolButton(Command::GraphicsButton)->isEnabled());
    EXPECT_TRUE(f.w.action(Command::ExportMenu)->isEnabled());
    EXPECT_EQ(f.w.action(Command::ExportMenu)->text(), "Export");
    EXPECT_FALSE(f.w.comboSaveView()->isEnabled());  // no graphics window

    f.w.setLongWorkRunning(true);
    EXPECT_FALSE(f.w.action(Command::OpenJob)->isEnabled());
    EXPECT_FALSE(f.w.toolButton(Command::OpenJob)->isEnabled());
    f.w.setLongWorkRunning(false);
    EXPECT_TRUE(f.w.toolButton(Command::OpenJob)->isEnabled());
}

TEST(FormMain, MirrorsTheDefaultGraphicsWindowAndSetsItsPointerOnlyOnChange) {
    Window f;
    connectEveryCommand(f.w);
    f.job.DataLoaded = true;
    FakeGraphicsWindow g;
    g.m.Faehnchenmode = true;
    g.m.SetLine = true;  // line mode is off: cleared
    f.w.graphicsWindows().add(&g);
    f.w.action(Command::GraphicsWindow)->setChecked(true);
    f.w.refreshControls();
    EXPECT_EQ(g.caption, "Screen - DEFAULT");
    EXPECT_TRUE(f.w.toolButton(Command::FlagMode)->isChecked());
    EXPECT_TRUE(f.w.action(Command::FlagMode)->isChecked());
    EXPECT_TRUE(f.w.comboSaveView()->isEnabled());
    EXPECT_FALSE(g.m.SetLine);
    EXPECT_EQ(g.pointer, GraphicsPointer::Flag);
    f.w.refreshControls();
    EXPECT_EQ(g.pointerSets, 1);

    f.w.redrawGraphicsWindows();
    EXPECT_EQ(g.redraws, 1);
    f.w.graphicsWindows().remove(&g);
    f.w.refreshControls();
    EXPECT_FALSE(f.w.action(Command::GraphicsWindow)->isChecked());
    EXPECT_FALSE(f.w.action(Command::TopView)->isEnabled());
    EXPECT_FALSE(f.w.toolButton(Command::LineMode)->isEnabled());
}

TEST(FormMain, ClosesAllChildWindowsAndAsksTheShutDownRoadBeforeClosing) {
    Window f;
    f.w.show();
    for (int i = 0; i < 3; ++i) f.w.mdiArea()->addSubWindow(new QWidget)->show();
    EXPECT_EQ(f.w.childWindowCount(), 3);
    EXPECT_TRUE(f.w.closeChildWindows());
    EXPECT_EQ(f.w.childWindowCount(), 0);

    bool allow = false;
    f.w.setCloseGuard([&] { return allow; });
    EXPECT_FALSE(f.w.close());
    EXPECT_TRUE(f.w.isVisible());
    allow = true;
    EXPECT_TRUE(f.w.close());
}

TEST(FormMain, PaintsWithItsToolbars) {
    Window f;
    f.w.resize(1280, 760);
    const QImage shot = f.w.grab().toImage();
    EXPECT_EQ(shot.width(), 1280 * shot.devicePixelRatio());
    EXPECT_TRUE(f.w.toolbar(Toolbar::ToolbarGraphics)->isVisibleTo(&f.w));
}

}  // namespace
}  // namespace kal
