#include <gtest/gtest.h>

#include <vector>

#include "shell/ProgramLogic.h"

namespace kal {
namespace {

using C = Command;

std::optional<bool> enabled(const MainWindowState& s, Command c) {
    auto it = s.commands.find(c);
    return it == s.commands.end() ? std::nullopt : it->second.enabled;
}
// A menu entry's check mark, and the pressed state of the toolbar button that shares its command.
std::optional<bool> checked(const MainWindowState& s, Command c) {
    auto it = s.commands.find(c);
    return it == s.commands.end() ? std::nullopt : it->second.checked;
}
const char* nameOf(Command c) { return commandInfo(c).objectName; }

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

TEST(ComputeMainWindowState, RecentEntriesTakeTheirSlotsAndEmptyOnesCannotBeChosen) {
    ProgramLogicInput in;
    in.RecentFiles = {"", "/a.tfo", "", "/c.tfo", ""};
    MainWindowState s = computeMainWindowState(in);
    EXPECT_EQ(s.recentCaptions, (std::array<std::string, 4>{"&1 /a.tfo", "&2 ", "&3 /c.tfo", "&4 "}));
    EXPECT_EQ(enabled(s, C::RecentFile1), true);
    EXPECT_EQ(enabled(s, C::RecentFile2), false);
}

// The four menus that need points, and the Graphics button with them.
TEST(ComputeMainWindowState, DataLoadedEnablesTheDataMenusAndTheGraphicsButton) {
    for (bool loaded : {false, true}) {
        ProgramLogicInput in;
        in.DataLoaded = loaded;
        MainWindowState s = computeMainWindowState(in);
        for (Command c : {C::GraphicsMenu, C::GlobalGraphicsMenu, C::TransformationMenu, C::EditMenu})
            EXPECT_EQ(enabled(s, c), loaded) << nameOf(c);
        EXPECT_EQ(enabled(s, C::GraphicsButton), loaded);
    }
}

TEST(ComputeMainWindowState, ExportFollowsTheCalculationAndKeepsItsCaptionWhenDisabled) {
    ProgramLogicInput in;
    in.TrafoCalculated = true;
    MainWindowState s = computeMainWindowState(in);
    EXPECT_EQ(enabled(s, C::ExportMenu), true);
    EXPECT_EQ(s.exportCaption, "Export");
    in.TrafoCalculated = false;
    s = computeMainWindowState(in);
    EXPECT_EQ(enabled(s, C::ExportMenu), false);
    EXPECT_EQ(s.exportCaption, std::nullopt);  // the caption stays as it was
}

TEST(ComputeMainWindowState, JobCommandsAndTheirButtonsWaitWhileLongWorkRuns) {
    for (bool busy : {false, true}) {
        ProgramLogicInput in;
        in.RecentFiles = {"", "/a.tfo", "/b.tfo", "/c.tfo", "/d.tfo"};
        in.longWorkRunning = busy;
        MainWindowState s = computeMainWindowState(in);
        // New, Open and Input Files: their toolbar buttons share the entries' commands.
        for (Command c : {C::NewJob, C::OpenJob, C::InputFiles, C::Units, C::Options, C::Special,
                          C::BatchTransform, C::DistanceScale})
            EXPECT_EQ(enabled(s, c), !busy) << nameOf(c);
        // A recent entry opens a job as Open does.
        for (Command c : {C::RecentFile1, C::RecentFile2, C::RecentFile3, C::RecentFile4})
            EXPECT_EQ(enabled(s, c), !busy) << nameOf(c);
        EXPECT_EQ(enabled(s, C::SaveJob), true);  // the entry and the Save button
    }
}

const std::vector<Command> kGraphicsEntries = {
    C::ZoomAll,     C::CenterView,  C::HidingPlane, C::PrintGraphicsToClipboard,
    C::TopView,     C::SideView,    C::FrontView,   C::IsometricView,
    C::PointsMenu,  C::VectorsMenu, C::AnalyseMenu, C::ToleranceMenu,
    C::RotateAbout, C::FlagMode,    C::DynamicFlag, C::ViewsMenu,
    C::LinesMenu};

// The graphics toolbar's buttons after its first ("Graphics"), left to right.
const std::vector<Command> kGraphicsButtons = {
    C::RotateAbout, C::TopView,       C::FrontView,      C::SideView,   C::IsometricView, C::FlagMode,
    C::ZoomAll,     C::ZoomOut,       C::ZoomIn,         C::ColorBar,   C::PointsBigger,  C::PointsSmaller,
    C::VectorMode,  C::VectorsLonger, C::VectorsShorter, C::AnalyseMode};

// Graphics windows open or not, with the "Graphics Window" mark as it stands.
struct GraphicsCase {
    std::int32_t count;
    bool marked;
    bool open;                      // graphics count as open
    std::optional<bool> markAfter;  // what the refresher does to the mark
};

TEST(ComputeMainWindowState, GraphicsEntriesAndToolbarsFollowTheOpenWindows) {
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
        in.windowCount = c.count;
        in.graphicsWindowMarked = c.marked;
        MainWindowState s = computeMainWindowState(in);
        EXPECT_EQ(checked(s, C::GraphicsWindow), c.markAfter);
        for (Command m : kGraphicsEntries) EXPECT_EQ(enabled(s, m), c.open) << nameOf(m);
        for (Command b : kGraphicsButtons) EXPECT_EQ(enabled(s, b), c.open) << nameOf(b);
        EXPECT_EQ(enabled(s, C::SaveView), c.open);
        EXPECT_EQ(enabled(s, C::DeleteView), c.open);
        EXPECT_EQ(enabled(s, C::SavedViews), c.open);
        EXPECT_EQ(enabled(s, C::LineMode), c.open);
        // Last / next view (entries and buttons): the undo ring's while graphics are open,
        // disabled otherwise; set and delete line with them.
        const std::optional<bool> ring = c.open ? std::nullopt : std::optional<bool>(false);
        EXPECT_EQ(enabled(s, C::LastView), ring);
        EXPECT_EQ(enabled(s, C::NextView), ring);
        EXPECT_EQ(enabled(s, C::SetLines), ring);
        EXPECT_EQ(enabled(s, C::DeleteLines), ring);
        // No default window: none of the mode entries is touched.
        EXPECT_EQ(checked(s, C::FlagMode), std::nullopt);
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

TEST(ComputeMainWindowState, DefaultWindowModesAreMirroredAndTheLaterModeWinsThePointer) {
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
        in.windowCount = 1;
        in.graphicsWindowMarked = true;
        in.defaultWindow = m;
        MainWindowState s = computeMainWindowState(in);

        // Each entry and the button that shares its command ("VectorMode", "FlagMode", "LineMode",
        // "SetLine", "DeleteLine", "VectorLonger", "VectorShorter").
        EXPECT_EQ(checked(s, C::VectorMode), c.vectorEntries);
        EXPECT_EQ(enabled(s, C::VectorsLonger), c.vectorEntries);
        EXPECT_EQ(enabled(s, C::VectorsShorter), c.vectorEntries);

        EXPECT_EQ(checked(s, C::FlagMode), m.Faehnchenmode);

        EXPECT_EQ(checked(s, C::LineMode), c.lineEntries);
        EXPECT_EQ(enabled(s, C::SetLines), c.lineEntries);
        EXPECT_EQ(enabled(s, C::DeleteLines), c.lineEntries);

        EXPECT_EQ(checked(s, C::SetLines), c.setLine);
        EXPECT_EQ(checked(s, C::DeleteLines), c.deleteLine);

        ASSERT_TRUE(s.defaultWindowModes.has_value());
        EXPECT_EQ(s.defaultWindowModes->SetLine, c.setLine);
        EXPECT_EQ(s.defaultWindowModes->DeleteLine, c.deleteLine);
        EXPECT_EQ(s.pointer, c.pointer);
    }
}

}  // namespace
}  // namespace kal
