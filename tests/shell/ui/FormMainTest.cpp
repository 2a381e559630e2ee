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

TEST(FormMain, AnEmptyJobShowsVersionAndTheUntitledName) {
    Window f;
    f.w.Initialisieren();
    EXPECT_EQ(f.w.windowTitle().toStdString(), "Kalvoreth Version 2.0.63 | ..\\default.tfo");
    EXPECT_EQ(f.w.statusPanel(1)->text(), "millimeter");
    EXPECT_EQ(f.w.statusPanel(2)->text(), "degree");
}

TEST(FormMain, EveryControlTheRefresherNamesExists) {
    Window f;
    for (int i = 0; i <= static_cast<int>(MenuItem::ComboSaveView); ++i) {
        const auto item = static_cast<MenuItem>(i);
        if (item == MenuItem::ComboSaveView)
            EXPECT_NE(f.w.comboSaveView(), nullptr);
        else
            EXPECT_NE(f.w.action(item), nullptr) << menuItemName(item);
    }
    struct Button {
        Toolbar bar;
        int position;
        const char* key;
        const char* tooltip;
    };
    const Button buttons[] = {
        {Toolbar::Toolbar2, 1, "FileNew", "New File"},
        {Toolbar::Toolbar2, 3, "FileSave", "Save File"},
        {Toolbar::Toolbar1, 2, "InputFiles", "Input Files"},
        {Toolbar::Toolbar1, 3, "TrafoBerechnung", "Transformation Calculation"},
        {Toolbar::ToolbarGraphics, 1, "Graphics", "Graphics"},
        {Toolbar::ToolbarGraphics, 11, "FlagMode", "Flag Mode"},
        {Toolbar::ToolbarGraphics, 17, "ColorBar", "Color Bar"},
        {Toolbar::ToolbarGraphics, 22, "VectorMode", "Vector Mode on / off"},
        {Toolbar::ToolbarGraphics, 25, "AnalyseMode", "Anlalyse Mode on / off"},
        {Toolbar::ToolbarSaveView, 1, "ListView", "List of stored Views"},
        {Toolbar::ToolbarSaveView, 9, "NextView", "next View"},
        {Toolbar::ToolbarLines, 3, "DeleteLine", "Delete Line"},
    };
    for (const auto& b : buttons) {
        QAction* a = f.w.toolButton(b.bar, b.position);
        ASSERT_NE(a, nullptr) << b.key;
        EXPECT_EQ(a->objectName(), b.key);
        EXPECT_EQ(a->toolTip(), b.tooltip);
    }
    for (int p : {2, 4, 8, 10, 12, 16, 18, 21})
        EXPECT_TRUE(f.w.toolButton(Toolbar::ToolbarGraphics, p)->isSeparator());
    EXPECT_EQ(f.w.toolButton(Toolbar::ToolbarGraphics, 26), nullptr);
    // Entries nothing may reach.
    EXPECT_FALSE(f.w.actionNamed("MenuFileJobInformation")->isEnabled());
    EXPECT_FALSE(f.w.actionNamed("MenueBuendel")->isVisible());
    EXPECT_FALSE(f.w.actionNamed("MenueBuendel")->isEnabled());
    EXPECT_FALSE(f.w.actionNamed("MenuemyTest")->isVisible());
    EXPECT_EQ(f.w.actionNamed("MenueGraphicsPrint")->text(), "Print \"Screen - DEFAULT\" to Clipboard");
    EXPECT_EQ(f.w.actionNamed("MenueHelpWubrant")->shortcut(), QKeySequence("Ctrl+W"));
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
    f.job.RecentFiles = {"", "/jobs/R&D.tfo", "", "", ""};
    f.w.ProgrammLogik();
    EXPECT_FALSE(f.w.action(MenuItem::MenuEdit)->isEnabled());
    EXPECT_FALSE(f.w.toolButton(Toolbar::ToolbarGraphics, 1)->isEnabled());
    EXPECT_FALSE(f.w.action(MenuItem::MenueFileExport)->isEnabled());
    EXPECT_EQ(f.w.action(MenuItem::MenueFileExport)->text(), "E&xport");
    EXPECT_EQ(f.w.action(MenuItem::MenueDateiAlt1)->text(), "&1 /jobs/R&&D.tfo");
    EXPECT_EQ(f.w.action(MenuItem::MenueDateiAlt3)->text(), "&3 ");
    EXPECT_FALSE(f.w.action(MenuItem::MenueDateiAlt3)->isEnabled());

    f.job.DataLoaded = true;
    f.job.TrafoCalculated = true;
    f.w.ProgrammLogik();
    EXPECT_TRUE(f.w.action(MenuItem::MenuEdit)->isEnabled());
    EXPECT_TRUE(f.w.toolButton(Toolbar::ToolbarGraphics, 1)->isEnabled());
    EXPECT_TRUE(f.w.action(MenuItem::MenueFileExport)->isEnabled());
    EXPECT_EQ(f.w.action(MenuItem::MenueFileExport)->text(), "Export");
    EXPECT_FALSE(f.w.comboSaveView()->isEnabled());  // no graphics window

    f.w.setLongWorkRunning(true);
    EXPECT_FALSE(f.w.action(MenuItem::MenuFileOpen)->isEnabled());
    EXPECT_FALSE(f.w.toolButton(Toolbar::Toolbar2, 2)->isEnabled());
    f.w.setLongWorkRunning(false);
    EXPECT_TRUE(f.w.toolButton(Toolbar::Toolbar2, 2)->isEnabled());
}

TEST(FormMain, MirrorsTheDefaultGraphicsWindowAndSetsItsPointerOnlyOnChange) {
    Window f;
    f.job.DataLoaded = true;
    FakeGraphicsWindow g;
    g.m.Faehnchenmode = true;
    g.m.SetLine = true;  // line mode is off: cleared
    f.w.graphicsWindows().add(&g);
    f.w.action(MenuItem::MenueGraphicsWindow)->setChecked(true);
    f.w.ProgrammLogik();
    EXPECT_EQ(g.caption, "Screen - DEFAULT");
    EXPECT_TRUE(f.w.toolButton(Toolbar::ToolbarGraphics, 11)->isChecked());
    EXPECT_TRUE(f.w.action(MenuItem::MenueGlobalFlagsMode)->isChecked());
    EXPECT_TRUE(f.w.comboSaveView()->isEnabled());
    EXPECT_FALSE(g.m.SetLine);
    EXPECT_EQ(g.pointer, GraphicsPointer::Flag);
    f.w.ProgrammLogik();
    EXPECT_EQ(g.pointerSets, 1);

    f.w.UpdateAllGraphicsWindows();
    EXPECT_EQ(g.redraws, 1);
    f.w.graphicsWindows().remove(&g);
    f.w.ProgrammLogik();
    EXPECT_FALSE(f.w.action(MenuItem::MenueGraphicsWindow)->isChecked());
    EXPECT_FALSE(f.w.action(MenuItem::MenueAnsichtTopview)->isEnabled());
    EXPECT_FALSE(f.w.toolButton(Toolbar::ToolbarLines, 1)->isEnabled());
}

TEST(FormMain, ClosesAllChildWindowsAndAsksTheShutDownRoadBeforeClosing) {
    Window f;
    f.w.show();
    for (int i = 0; i < 3; ++i) f.w.mdiArea()->addSubWindow(new QWidget)->show();
    EXPECT_EQ(f.w.CountChildForms(), 3);
    EXPECT_TRUE(f.w.CloseAllChildForms());
    EXPECT_EQ(f.w.CountChildForms(), 0);

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
