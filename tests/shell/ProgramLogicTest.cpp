#include <gtest/gtest.h>

#include <vector>

#include "shell/ProgramLogic.h"

namespace kal {
namespace {

using M = MenuItem;
using T = Toolbar;

std::optional<bool> enabled(const MainWindowState& s, MenuItem m) {
    auto it = s.menus.find(m);
    return it == s.menus.end() ? std::nullopt : it->second.enabled;
}
std::optional<bool> checked(const MainWindowState& s, MenuItem m) {
    auto it = s.menus.find(m);
    return it == s.menus.end() ? std::nullopt : it->second.checked;
}
std::optional<bool> enabled(const MainWindowState& s, Toolbar bar, int pos) {
    auto it = s.buttons.find({bar, pos});
    return it == s.buttons.end() ? std::nullopt : it->second.enabled;
}
std::optional<bool> pressed(const MainWindowState& s, Toolbar bar, int pos) {
    auto it = s.buttons.find({bar, pos});
    return it == s.buttons.end() ? std::nullopt : it->second.checked;
}

TEST(MainWindowCaption, EmptyJobShowsVersionAndTheUntitledName) {
    EXPECT_EQ(mainWindowCaption("..\\default.tfo"), "Kalvoreth Version 2.0.63 | ..\\default.tfo");
}

TEST(MainWindowCaption, IsCutInFrontToExactly160CharactersKeepingTheFileName) {
    const std::string prefix = "Kalvoreth Version 2.0.63 | ";
    // Prefix and rest of exactly 160 characters: unchanged.
    const std::string fits = "/" + std::string(160 - prefix.size() - 1, 'a');
    EXPECT_EQ(mainWindowCaption(fits), prefix + fits);
    EXPECT_EQ(mainWindowCaption(fits).size(), 160u);
    // One more: prefix, "..." and the last 139 characters of the rest.
    const std::string longer = "/b" + std::string(160 - prefix.size() - 6, 'a') + "x.tfo";
    const std::string caption = mainWindowCaption(longer);
    const std::string rest = "2.0.63 | " + longer;
    EXPECT_EQ(caption, "Kalvoreth Version ..." + rest.substr(rest.size() - 139));
    EXPECT_EQ(caption.size(), 160u);
    EXPECT_EQ(caption.substr(caption.size() - 5), "x.tfo");
}

TEST(MainWindowCaption, CountsCharactersNotBytesAndNeverSplitsALetter) {
    // 200 letters of two bytes each: the cut keeps 139 whole characters of the rest.
    std::string path;
    for (int i = 0; i < 200; ++i) path += "\xC3\xBC";  // ü
    const std::string caption = mainWindowCaption(path);
    EXPECT_EQ(caption, "Kalvoreth Version ..." + path.substr(path.size() - 2 * 139));
}

TEST(RecentFileCaption, EmptySlotShowsItsNumberAndAmpersandsShowAsWritten) {
    EXPECT_EQ(recentFileCaption(3, ""), "&3 ");
    EXPECT_EQ(recentFileCaption(1, "/jobs/R&D.tfo"), "&1 /jobs/R&&D.tfo");
}

TEST(ProgrammLogik, RecentEntriesTakeTheirSlotsAndEmptyOnesCannotBeChosen) {
    ProgramLogicInput in;
    in.RecentFiles = {"", "/a.tfo", "", "/c.tfo", ""};
    MainWindowState s = ProgrammLogik(in);
    EXPECT_EQ(s.recentCaptions, (std::array<std::string, 4>{"&1 /a.tfo", "&2 ", "&3 /c.tfo", "&4 "}));
    EXPECT_EQ(enabled(s, M::MenueDateiAlt1), true);
    EXPECT_EQ(enabled(s, M::MenueDateiAlt2), false);
}

// The four menus that need points, and the Graphics button with them.
TEST(ProgrammLogik, DataLoadedEnablesTheDataMenusAndTheGraphicsButton) {
    for (bool loaded : {false, true}) {
        ProgramLogicInput in;
        in.DataLoaded = loaded;
        MainWindowState s = ProgrammLogik(in);
        for (MenuItem m : {M::MenueGraphics, M::MenueGlobalGraphics, M::MenuTransformation, M::MenuEdit})
            EXPECT_EQ(enabled(s, m), loaded) << menuItemName(m);
        EXPECT_EQ(enabled(s, T::ToolbarGraphics, 1), loaded);
    }
}

TEST(ProgrammLogik, ExportFollowsTheCalculationAndKeepsItsCaptionWhenDisabled) {
    ProgramLogicInput in;
    in.TrafoCalculated = true;
    MainWindowState s = ProgrammLogik(in);
    EXPECT_EQ(enabled(s, M::MenueFileExport), true);
    EXPECT_EQ(s.exportCaption, "Export");
    in.TrafoCalculated = false;
    s = ProgrammLogik(in);
    EXPECT_EQ(enabled(s, M::MenueFileExport), false);
    EXPECT_EQ(s.exportCaption, std::nullopt);  // the caption stays as it was
}

TEST(ProgrammLogik, JobCommandsAndTheirButtonsWaitWhileLongWorkRuns) {
    for (bool busy : {false, true}) {
        ProgramLogicInput in;
        in.RecentFiles = {"", "/a.tfo", "/b.tfo", "/c.tfo", "/d.tfo"};
        in.longWorkRunning = busy;
        MainWindowState s = ProgrammLogik(in);
        for (MenuItem m : {M::MenuFileNew, M::MenuFileOpen, M::MenuFileInputFiles, M::MenuSettingsUnits,
                           M::MenueExtrasOptions, M::MenueHelpWubrant})
            EXPECT_EQ(enabled(s, m), !busy) << menuItemName(m);
        // A recent entry opens a job as Open does.
        for (MenuItem m : {M::MenueDateiAlt1, M::MenueDateiAlt2, M::MenueDateiAlt3, M::MenueDateiAlt4})
            EXPECT_EQ(enabled(s, m), !busy) << menuItemName(m);
        EXPECT_EQ(enabled(s, T::Toolbar2, 1), !busy);
        EXPECT_EQ(enabled(s, T::Toolbar2, 2), !busy);
        EXPECT_EQ(enabled(s, T::Toolbar1, 2), !busy);  // Input Files
        EXPECT_EQ(enabled(s, M::MenuFileSave), true);
        EXPECT_EQ(enabled(s, T::Toolbar2, 3), true);
    }
}

const std::vector<MenuItem> kGraphicsEntries = {M::MenueAnsichtAnpassen,    M::MenueAnsichtcenter,
                                                M::MenueGrafikBlackPlane,   M::MenueGraphicsPrint,
                                                M::MenueAnsichtTopview,     M::MenueAnsichtSideView,
                                                M::MenueAnsichtFrontView,   M::MenueAnsichtIsometricView,
                                                M::MenueAnsichtPunkte,      M::MenueAnsichtVektoren,
                                                M::MenueAnsichtAnalyse,     M::MenueAnsichtToleranzen,
                                                M::MenueGlobalRotateAbout,  M::MenueGlobalFlagsMode,
                                                M::MenueAnsichtDynamicFlag, M::MenueViewS,
                                                M::MenueGraphicsLines};

// Graphics windows open or not, with the "Graphics Window" mark as it stands.
struct GraphicsCase {
    std::int32_t count;
    bool marked;
    bool open;                      // graphics count as open
    std::optional<bool> markAfter;  // what the refresher does to the mark
};

TEST(ProgrammLogik, GraphicsEntriesAndToolbarsFollowTheOpenWindows) {
    const GraphicsCase cases[] = {
        {0, false, false, false},
        {0, true, false, false},        // the mark goes with the last window
        {2, true, true, std::nullopt},  // the mark stays
        {1, false, false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "count " << c.count << " marked " << c.marked);
        ProgramLogicInput in;
        in.DataLoaded = true;
        in.GraphicsWindowCount = c.count;
        in.graphicsWindowMarked = c.marked;
        MainWindowState s = ProgrammLogik(in);
        EXPECT_EQ(checked(s, M::MenueGraphicsWindow), c.markAfter);
        for (MenuItem m : kGraphicsEntries) EXPECT_EQ(enabled(s, m), c.open) << menuItemName(m);
        for (int p = 2; p <= kToolbarGraphicsPositions; ++p)
            EXPECT_EQ(enabled(s, T::ToolbarGraphics, p), c.open) << p;
        EXPECT_EQ(enabled(s, T::ToolbarSaveView, 6), c.open);
        EXPECT_EQ(enabled(s, T::ToolbarSaveView, 7), c.open);
        EXPECT_EQ(enabled(s, M::ComboSaveView), c.open);
        EXPECT_EQ(enabled(s, T::ToolbarLines, 1), c.open);
        // Last / next view: the undo ring's while graphics are open, disabled otherwise.
        const std::optional<bool> ring = c.open ? std::nullopt : std::optional<bool>(false);
        EXPECT_EQ(enabled(s, T::ToolbarSaveView, 8), ring);
        EXPECT_EQ(enabled(s, T::ToolbarSaveView, 9), ring);
        EXPECT_EQ(enabled(s, M::MenueViewLastView), ring);
        EXPECT_EQ(enabled(s, M::MenueViewNextView), ring);
        EXPECT_EQ(enabled(s, T::ToolbarLines, 2), ring);
        EXPECT_EQ(enabled(s, T::ToolbarLines, 3), ring);
        // No default window: none of the mode entries is touched.
        EXPECT_EQ(checked(s, M::MenueGlobalFlagsMode), std::nullopt);
        EXPECT_EQ(s.pointer, std::nullopt);
    }
}

// The default window's modes, mirrored into check marks, pressed buttons and the pointer.
struct ModeCase {
    GraphicsModes modes;
    bool vectorEntries;        // checked / pressed / longer-shorter enabled
    bool lineEntries;          // line mode checked, set/delete enabled
    bool setLine, deleteLine;  // after the refresher
    GraphicsPointer pointer;
};

TEST(ProgrammLogik, DefaultWindowModesAreMirroredAndTheLaterModeWinsThePointer) {
    const ModeCase cases[] = {
        {{}, false, false, false, false, GraphicsPointer::Default},
        {{.VectorMode = true}, true, false, false, false, GraphicsPointer::Default},
        {{.Faehnchenmode = true}, false, false, false, false, GraphicsPointer::Flag},
        {{.LineMode = true}, false, true, false, false, GraphicsPointer::Default},
        {{.Faehnchenmode = true, .LineMode = true, .SetLine = true},
         false,
         true,
         true,
         false,
         GraphicsPointer::SetLine},
        {{.LineMode = true, .SetLine = true, .DeleteLine = true},
         false,
         true,
         true,
         true,
         GraphicsPointer::DeleteLine},
        // Line mode off clears set and delete line, so neither shows nor takes the pointer.
        {{.Faehnchenmode = true, .SetLine = true, .DeleteLine = true},
         false,
         false,
         false,
         false,
         GraphicsPointer::Flag},
        {{.VectorMode = true, .SetLine = true}, true, false, false, false, GraphicsPointer::Default},
    };
    for (const auto& c : cases) {
        const GraphicsModes& m = c.modes;
        SCOPED_TRACE(::testing::Message()
                     << "vector " << m.VectorMode << " flag " << m.Faehnchenmode << " line " << m.LineMode
                     << " set " << m.SetLine << " delete " << m.DeleteLine);
        ProgramLogicInput in;
        in.DataLoaded = true;
        in.GraphicsWindowCount = 1;
        in.graphicsWindowMarked = true;
        in.defaultWindow = m;
        MainWindowState s = ProgrammLogik(in);

        EXPECT_EQ(checked(s, M::MenueAnsichtVektorenVektorModeActive), c.vectorEntries);
        EXPECT_EQ(enabled(s, M::MenueAnsichtVektorenLonger), c.vectorEntries);
        EXPECT_EQ(enabled(s, M::MenueAnsichtVektorenShorter), c.vectorEntries);
        EXPECT_EQ(pressed(s, T::ToolbarGraphics, 22), c.vectorEntries);
        EXPECT_EQ(enabled(s, T::ToolbarGraphics, 23), c.vectorEntries);
        EXPECT_EQ(enabled(s, T::ToolbarGraphics, 24), c.vectorEntries);

        EXPECT_EQ(pressed(s, T::ToolbarGraphics, 11), m.Faehnchenmode);
        EXPECT_EQ(checked(s, M::MenueGlobalFlagsMode), m.Faehnchenmode);

        EXPECT_EQ(pressed(s, T::ToolbarLines, 1), c.lineEntries);
        EXPECT_EQ(enabled(s, T::ToolbarLines, 2), c.lineEntries);
        EXPECT_EQ(enabled(s, T::ToolbarLines, 3), c.lineEntries);
        EXPECT_EQ(checked(s, M::MenueGraphicsLinesLineModeActive), c.lineEntries);
        EXPECT_EQ(enabled(s, M::MenueGraphicsLinesSetLines), c.lineEntries);
        EXPECT_EQ(enabled(s, M::MenueGraphicsLinesDeleteLines), c.lineEntries);

        EXPECT_EQ(pressed(s, T::ToolbarLines, 2), c.setLine);
        EXPECT_EQ(checked(s, M::MenueGraphicsLinesSetLines), c.setLine);
        EXPECT_EQ(pressed(s, T::ToolbarLines, 3), c.deleteLine);
        EXPECT_EQ(checked(s, M::MenueGraphicsLinesDeleteLines), c.deleteLine);

        ASSERT_TRUE(s.defaultWindowModes.has_value());
        EXPECT_EQ(s.defaultWindowModes->SetLine, c.setLine);
        EXPECT_EQ(s.defaultWindowModes->DeleteLine, c.deleteLine);
        EXPECT_EQ(s.pointer, c.pointer);
    }
}

}  // namespace
}  // namespace kal
