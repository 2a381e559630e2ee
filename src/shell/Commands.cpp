#include "shell/Commands.h"

namespace kal {

namespace {

using C = Command;
using K = ControlKind;

struct Face {
    const char* key = "";
    const char* tooltip = "";
};

constexpr CommandInfo menu(C c, C parent, const char* name, const char* caption, int flags = 0) {
    return {c, K::Menu, parent, name, caption, "", static_cast<std::uint8_t>(flags), "", ""};
}

constexpr CommandInfo topMenu(C c, const char* name, const char* caption, int flags = 0) {
    return menu(c, c, name, caption, flags);
}

constexpr CommandInfo entry(C c, C parent, const char* name, const char* caption, const char* shortcut = "",
                            int flags = 0, Face face = {}) {
    return {c,        K::Entry,    parent, name, caption, shortcut, static_cast<std::uint8_t>(flags),
            face.key, face.tooltip};
}

constexpr CommandInfo button(C c, const char* key, const char* tooltip, int flags = 0) {
    return {c, K::Button, c, key, "", "", static_cast<std::uint8_t>(flags), key, tooltip};
}

constexpr int kCheck = kCheckable;
constexpr int kSep = kSeparatorBefore;

// A toolbar button listed with a menu entry runs that entry's command and shows its state: they
// share one action. The one exception is the graphics toolbar's "Graphics" button (its own row
// below).
constexpr CommandInfo kCommands[] = {
    topMenu(C::FileMenu, "MenuFile", "&File"),
    entry(C::NewJob, C::FileMenu, "MenuFileNew", "&New", "", 0, {"FileNew", "New File"}),
    entry(C::OpenJob, C::FileMenu, "MenuFileOpen", "&Open", "", 0, {"FileOpen", "Open File"}),
    entry(C::SaveJob, C::FileMenu, "MenuFileSave", "&Save", "", kSep, {"FileSave", "Save File"}),
    entry(C::SaveJobAs, C::FileMenu, "MenuFileSaveAs", "Save &as"),
    entry(C::InputFiles, C::FileMenu, "MenuFileInputFiles", "&Input Files", "Ctrl+I", kSep,
          {"InputFiles", "Input Files"}),
    entry(C::JobInformation, C::FileMenu, "MenuFileJobInformation", "&Job Information", "", kStartsDisabled),
    menu(C::ExportMenu, C::FileMenu, "MenueFileExport", "E&xport", kSep),
    entry(C::ExportRobCad, C::ExportMenu, "MenueFileExportRobCad", "Rob&Cad Robface *.rf File"),
    entry(C::ExportRocal, C::ExportMenu, "MenueFileExportROCAL", "&Rocal *.bas File"),
    entry(C::ExportOnlyMcsPoints, C::ExportMenu, "MenueOnlyMCStoTilde", "OnlyMCS Pts to txt File", "F9"),
    // The recent entries' captions come from the refresher; these are the empty slots'.
    entry(C::RecentFile1, C::FileMenu, "MenueDateiAlt1", "&1 ", "", kSep),
    entry(C::RecentFile2, C::FileMenu, "MenueDateiAlt2", "&2 "),
    entry(C::RecentFile3, C::FileMenu, "MenueDateiAlt3", "&3 "),
    entry(C::RecentFile4, C::FileMenu, "MenueDateiAlt4", "&4 "),
    entry(C::Exit, C::FileMenu, "MenuFileExit", "&Exit", "", kSep),

    topMenu(C::EditMenu, "MenuEdit", "&Edit"),
    entry(C::Copy, C::EditMenu, "MenuEditCopy", "Copy", "Ctrl+C"),
    entry(C::GraphData, C::EditMenu, "MenuEditGraphData", "Graph Data"),

    topMenu(C::SettingsMenu, "MenuSettings", "&Settings"),
    entry(C::Units, C::SettingsMenu, "MenuSettingsUnits", "&Units"),

    topMenu(C::TransformationMenu, "MenuTransformation", "&Transformation"),
    entry(C::CalculationWindow, C::TransformationMenu, "MenuTransformationCalculation", "&Calculation", "",
          kCheck, {"TrafoBerechnung", "Transformation Calculation"}),
    entry(C::BatchTransform, C::TransformationMenu, "MenueTransformationBatch", "Batch Transform"),
    entry(C::DistanceScale, C::TransformationMenu, "MenuTransformationDistanceScale", "&Distance Scale"),

    topMenu(C::GraphicsMenu, "MenueGraphics", "Graphics"),
    entry(C::GraphicsWindow, C::GraphicsMenu, "MenueGraphicsWindow", "Graphics Window", "", kCheck),
    entry(C::ZoomAll, C::GraphicsMenu, "MenueAnsichtAnpassen", "&Adjust", "Ctrl+A", kSep,
          {"ZoomAll", "Zoom All"}),
    entry(C::CenterView, C::GraphicsMenu, "MenueAnsichtcenter", "Center", "Ctrl+F1"),
    entry(C::HidingPlane, C::GraphicsMenu, "MenueGrafikBlackPlane", "BlackPlane", "F7"),
    // Names the default graphics window by its caption (kDefaultGraphicsCaption).
    entry(C::PrintGraphicsToClipboard, C::GraphicsMenu, "MenueGraphicsPrint",
          "Print \"Screen - DEFAULT\" to Clipboard", "Ctrl+D"),
    // Its check mark shows on the shared "RotateAbout" button as its pressed state.
    entry(C::RotateAbout, C::GraphicsMenu, "MenueGlobalRotateAbout", "Rotate about", "Ctrl+U", kCheck,
          {"RotateAbout", "Rotate about"}),
    entry(C::TopView, C::GraphicsMenu, "MenueAnsichtTopview", "Top View", "Ctrl+T", kSep,
          {"ViewTop", "View TOP"}),
    entry(C::SideView, C::GraphicsMenu, "MenueAnsichtSideView", "Side View", "Ctrl+S", 0,
          {"ViewSide", "View SIDE"}),
    entry(C::FrontView, C::GraphicsMenu, "MenueAnsichtFrontView", "Front View", "Ctrl+F", 0,
          {"ViewFront", "View FRONT"}),
    entry(C::IsometricView, C::GraphicsMenu, "MenueAnsichtIsometricView", "Isometric View", "", 0,
          {"ViewIso", "View ISOMETRIC"}),
    entry(C::FlagMode, C::GraphicsMenu, "MenueGlobalFlagsMode", "Flags Mode", "F5", kSep | kCheck,
          {"FlagMode", "Flag Mode"}),
    entry(C::DynamicFlag, C::GraphicsMenu, "MenueAnsichtDynamicFlag", "Dynamic Flag", "F6", kCheck),
    menu(C::PointsMenu, C::GraphicsMenu, "MenueAnsichtPunkte", "Points"),
    entry(C::PointsBigger, C::PointsMenu, "MenueAnsichtPunkteBigger", "Bigger", "Ctrl+B", 0,
          {"PointsBigger", "Points bigger"}),
    entry(C::PointsSmaller, C::PointsMenu, "MenueAnsichtPunkteSmaller", "Smaller", "Ctrl+M", 0,
          {"PointsSmaller", "Points smaller"}),
    entry(C::SmallPoints, C::PointsMenu, "MenueAnsichtPunkteSmallPoints", "Small Points (Pixel)", "Ctrl+P"),
    menu(C::VectorsMenu, C::GraphicsMenu, "MenueAnsichtVektoren", "Vectors"),
    entry(C::VectorMode, C::VectorsMenu, "MenueAnsichtVektorenVektorModeActive", "Vector Mode Active",
          "Ctrl+V", kCheck, {"VectorMode", "Vector Mode on / off"}),
    entry(C::VectorsLonger, C::VectorsMenu, "MenueAnsichtVektorenLonger", "longer", "Ctrl+L", 0,
          {"VectorLonger", "Vector longer"}),
    entry(C::VectorsShorter, C::VectorsMenu, "MenueAnsichtVektorenShorter", "shorter", "Ctrl+H", 0,
          {"VectorShorter", "Vector shorter"}),
    menu(C::AnalyseMenu, C::GraphicsMenu, "MenueAnsichtAnalyse", "Analyse"),
    entry(C::AnalyseMode, C::AnalyseMenu, "MenueAnsichtAnalyseModeActive", "Analyse Mode Active", "Ctrl+X",
          kCheck, {"AnalyseMode", "Anlalyse Mode on / off"}),
    // Only in analyse mode, which starts off.
    entry(C::AnalyseMore, C::AnalyseMenu, "MenueAnsichtAnalyseModeMore", "more", "F3", kStartsDisabled),
    entry(C::AnalyseLess, C::AnalyseMenu, "MenueAnsichtAnalyseModeLess", "less", "F4", kStartsDisabled),
    entry(C::AnalyseKeepPoints, C::AnalyseMenu, "MenueAnsichtAnalyseKeepPoints", "KeepPoints", "Ctrl+K",
          kCheck | kStartsDisabled),
    menu(C::ToleranceMenu, C::GraphicsMenu, "MenueAnsichtToleranzen", "&Tolerance"),
    entry(C::ColorBar, C::ToleranceMenu, "MenueAnsichtToleranzenColorbar", "Color Bar", "Ctrl+R", kCheck,
          {"ColorBar", "Color Bar"}),
    entry(C::ColorBarSettings, C::ToleranceMenu, "MenueAnsichtToleranzenEinstellungen", "Settings", "Ctrl+E",
          kCheck),
    menu(C::LinesMenu, C::GraphicsMenu, "MenueGraphicsLines", "Lines"),
    entry(C::LineMode, C::LinesMenu, "MenueGraphicsLinesLineModeActive", "Line Mode Active", "F8", kCheck,
          {"LineMode", "Line Mode on/off"}),
    entry(C::SetLines, C::LinesMenu, "MenueGraphicsLinesSetLines", "Set Lines", "", kCheck,
          {"SetLine", "SetLine"}),
    entry(C::DeleteLines, C::LinesMenu, "MenueGraphicsLinesDeleteLines", "Delete Lines", "", kCheck,
          {"DeleteLine", "Delete Line"}),

    topMenu(C::GlobalGraphicsMenu, "MenueGlobalGraphics", "Global Graphics"),
    entry(C::GeneralGraphicsSettings, C::GlobalGraphicsMenu, "MenueGlobalGeneralGraphicsSettings",
          "General Graphics Settings"),

    topMenu(C::ViewsMenu, "MenueViewS", "&Views"),
    entry(C::SaveView, C::ViewsMenu, "MenueViewSaveView", "&Save View", "", 0, {"SaveView", "Save View"}),
    entry(C::DeleteView, C::ViewsMenu, "MenueViewDeleteView", "&Delete View", "", 0,
          {"DeleteView", "Delete View"}),
    // The undo ring sets the enabled state of entry and button together; the button's tooltip
    // shows its counts, which a menu never shows.
    entry(C::LastView, C::ViewsMenu, "MenueViewLastView", "&last View", "Ctrl+Z", 0,
          {"LastView", "Last View"}),
    entry(C::NextView, C::ViewsMenu, "MenueViewNextView", "&next View", "Ctrl+Y", 0,
          {"NextView", "next View"}),

    topMenu(C::ExtrasMenu, "MenueExtras", "&Extras"),
    entry(C::Options, C::ExtrasMenu, "MenueExtrasOptions", "&Options"),
    entry(C::DeveloperTest, C::ExtrasMenu, "MenuemyTest", "myTest", "Ctrl+Shift+F12", kHidden),

    topMenu(C::WindowMenu, "MenueWindow", "Window"),
    entry(C::MainSheet, C::WindowMenu, "MenuVievMainSheet", "&MainSheet", "", kCheck),
    entry(C::InputStatistic, C::WindowMenu, "MenueViewInputStatistic", "&Input Statistic", "", kCheck),
    {C::WindowMenuSeparator, K::Separator, C::WindowMenu, "MenueWindowdummy1", "", "", 0, "", ""},
    entry(C::ArrangeWindows, C::WindowMenu, "MenueWindowArrange", "&Arrange"),
    entry(C::CascadeWindows, C::WindowMenu, "MenueWindowCascade", "&Cascade"),

    // The network adjustment's menu: hidden and disabled from the start; nothing shows it.
    topMenu(C::NetworkAdjustmentMenu, "MenueBuendel", "B\xC3\xBCndel", kHidden | kStartsDisabled),

    topMenu(C::HelpMenu, "MenueHilfe", "Help"),
    entry(C::Documentation, C::HelpMenu, "MenueHelpQuestion", "Documentation", "F1"),
    entry(C::Info, C::HelpMenu, "MenuHelpInfo", "&Info"),
    entry(C::Special, C::HelpMenu, "MenueHelpWubrant", "&Spezial", "Ctrl+W"),

    // Opens a graphics window as "Graphics Window" does, but keeps an action of its own: the
    // entry's check mark says that graphics windows are shown (the refresher reads it and clears
    // it only when the last window has closed), while every closing window releases the button;
    // and the button is enabled with loaded points, the entry with its menu.
    button(C::GraphicsButton, "Graphics", "Graphics"),
    button(C::ZoomOut, "ZoomOut", "Zoom Out"),
    button(C::ZoomIn, "ZoomIn", "Zoom In"),
    button(C::ListViews, "ListView", "List of stored Views"),
    {C::SavedViews, K::Combo, C::SavedViews, "ComboSaveView", "", "", 0, "", "List of stored Views"},
};

static_assert(std::size(kCommands) == kCommandCount, "one row per command");

constexpr bool rowsInEnumOrder() {
    for (std::size_t i = 0; i < std::size(kCommands); ++i)
        if (static_cast<std::size_t>(kCommands[i].command) != i) return false;
    return true;
}
static_assert(rowsInEnumOrder(), "the rows follow the enum, so a command finds its row by index");

// A menu is built before what it holds.
constexpr bool parentsComeFirst() {
    for (const CommandInfo& row : kCommands) {
        if (row.kind == K::Button || row.kind == K::Combo || row.onMenuBar()) continue;
        if (row.parent >= row.command || kCommands[static_cast<std::size_t>(row.parent)].kind != K::Menu)
            return false;
    }
    return true;
}
static_assert(parentsComeFirst(), "every entry's parent is a menu above it");

constexpr ToolbarInfo kToolbars[] = {
    {Toolbar::Toolbar2, "Toolbar2", false},
    {Toolbar::Toolbar1, "Toolbar1", false},
    {Toolbar::ToolbarGraphics, "ToolbarGraphics", false},
    // The cool bar's bands in two rows: the file and graphics bands, then views and lines.
    {Toolbar::ToolbarSaveView, "ToolbarSaveView", true},
    {Toolbar::ToolbarLines, "ToolbarLines", false},
};

constexpr ToolbarSlot at(Toolbar bar, C c) { return {bar, false, c}; }
constexpr ToolbarSlot line(Toolbar bar) { return {bar, true, C::FileMenu}; }

constexpr Toolbar kFile = Toolbar::Toolbar2;
constexpr Toolbar kWork = Toolbar::Toolbar1;
constexpr Toolbar kGraphics = Toolbar::ToolbarGraphics;
constexpr Toolbar kViews = Toolbar::ToolbarSaveView;
constexpr Toolbar kLines = Toolbar::ToolbarLines;

constexpr ToolbarSlot kToolbarLayout[] = {
    at(kFile, C::NewJob),
    at(kFile, C::OpenJob),
    at(kFile, C::SaveJob),

    at(kWork, C::InputFiles),
    at(kWork, C::CalculationWindow),

    at(kGraphics, C::GraphicsButton),
    line(kGraphics),
    at(kGraphics, C::RotateAbout),
    line(kGraphics),
    at(kGraphics, C::TopView),
    at(kGraphics, C::FrontView),
    at(kGraphics, C::SideView),
    line(kGraphics),
    at(kGraphics, C::IsometricView),
    line(kGraphics),
    at(kGraphics, C::FlagMode),
    line(kGraphics),
    at(kGraphics, C::ZoomAll),
    at(kGraphics, C::ZoomOut),
    at(kGraphics, C::ZoomIn),
    line(kGraphics),
    at(kGraphics, C::ColorBar),
    line(kGraphics),
    at(kGraphics, C::PointsBigger),
    at(kGraphics, C::PointsSmaller),
    line(kGraphics),
    at(kGraphics, C::VectorMode),
    at(kGraphics, C::VectorsLonger),
    at(kGraphics, C::VectorsShorter),
    at(kGraphics, C::AnalyseMode),

    at(kViews, C::ListViews),
    at(kViews, C::SavedViews),
    at(kViews, C::SaveView),
    at(kViews, C::DeleteView),
    at(kViews, C::LastView),
    at(kViews, C::NextView),

    at(kLines, C::LineMode),
    at(kLines, C::SetLines),
    at(kLines, C::DeleteLines),
};

// A band shows only controls that have a face there.
constexpr bool slotsHaveFaces() {
    for (const ToolbarSlot& slot : kToolbarLayout) {
        if (slot.separator) continue;
        const CommandInfo& row = kCommands[static_cast<std::size_t>(slot.command)];
        if (row.kind != K::Combo && row.buttonKey[0] == '\0') return false;
    }
    return true;
}
static_assert(slotsHaveFaces(), "every toolbar slot names a command with a button or the combo");

}  // namespace

std::span<const CommandInfo> commandTable() { return kCommands; }

const CommandInfo& commandInfo(Command command) { return kCommands[static_cast<std::size_t>(command)]; }

std::span<const ToolbarInfo> toolbarTable() { return kToolbars; }

std::span<const ToolbarSlot> toolbarLayout() { return kToolbarLayout; }

}  // namespace kal
