#pragma once
// The main window's commands by id: every menu, menu entry, toolbar button and the saved-view
// combo, with the object name, caption, shortcut and toolbar face the window builds them from.
// One table holds them (commandInfo), a second the toolbar bands (toolbarLayout); the window
// makes one action per command, shared by its menu entry and its toolbar button, and the state
// refresher sets one state per command.
#include <cstddef>
#include <cstdint>
#include <span>

namespace kal {

// In menu order, then the controls that only the toolbars hold. A menu counts as a command: the
// refresher enables and disables whole menus.
enum class Command : std::uint8_t {
    // "&File"
    FileMenu,
    NewJob,
    OpenJob,
    SaveJob,
    SaveJobAs,
    InputFiles,
    JobInformation,
    ExportMenu,
    ExportRobCad,
    ExportRocal,
    ExportOnlyMcsPoints,
    RecentFile1,
    RecentFile2,
    RecentFile3,
    RecentFile4,
    Exit,
    // "&Edit"
    EditMenu,
    Copy,
    GraphData,
    // "&Settings"
    SettingsMenu,
    Units,
    // "&Transformation"
    TransformationMenu,
    CalculationWindow,
    BatchTransform,
    DistanceScale,
    // "Graphics"
    GraphicsMenu,
    GraphicsWindow,
    ZoomAll,
    CenterView,
    HidingPlane,
    PrintGraphicsToClipboard,
    RotateAbout,
    TopView,
    SideView,
    FrontView,
    IsometricView,
    FlagMode,
    DynamicFlag,
    PointsMenu,
    PointsBigger,
    PointsSmaller,
    SmallPoints,
    VectorsMenu,
    VectorMode,
    VectorsLonger,
    VectorsShorter,
    AnalyseMenu,
    AnalyseMode,
    AnalyseMore,
    AnalyseLess,
    AnalyseKeepPoints,
    ToleranceMenu,
    ColorBar,
    ColorBarSettings,
    LinesMenu,
    LineMode,
    SetLines,
    DeleteLines,
    // "Global Graphics"
    GlobalGraphicsMenu,
    GeneralGraphicsSettings,
    // "&Views"
    ViewsMenu,
    SaveView,
    DeleteView,
    LastView,
    NextView,
    // "&Extras"
    ExtrasMenu,
    Options,
    DeveloperTest,
    // "Window"
    WindowMenu,
    MainSheet,
    InputStatistic,
    WindowMenuSeparator,
    ArrangeWindows,
    CascadeWindows,
    // The network adjustment's menu
    NetworkAdjustmentMenu,
    // "Help"
    HelpMenu,
    Documentation,
    Info,
    Special,
    // Only on the toolbars
    GraphicsButton,
    ZoomOut,
    ZoomIn,
    ListViews,
    SavedViews,
};

inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(Command::SavedViews) + 1;

enum class ControlKind : std::uint8_t {
    Menu,       // a menu on the menu bar, or a submenu when it has a parent
    Entry,      // a menu entry, perhaps with a toolbar button that runs it
    Separator,  // a named separator line in a menu
    Button,     // a toolbar button with no menu entry
    Combo,      // the saved-view list on the views toolbar
};

// Properties a control starts with.
enum CommandFlag : std::uint8_t {
    kCheckable = 1,        // carries a check mark (a pressed state on its button)
    kSeparatorBefore = 2,  // an unnamed separator line stands above it in its menu
    kStartsDisabled = 4,
    kHidden = 8,
};

struct CommandInfo {
    Command command;
    ControlKind kind;
    Command parent;          // the menu that holds it; the command itself for a menu-bar menu
    const char* objectName;  // "MenuFileNew"; for a toolbar-only control its key
    const char* caption;     // menu caption, "" when it has none
    const char* shortcut;    // portable key text ("Ctrl+I"), "" for none
    std::uint8_t flags;      // CommandFlag bits
    const char* buttonKey;   // the toolbar button's key ("FileNew"), "" when it has no button
    const char* tooltip;     // the toolbar button's tooltip

    constexpr bool has(CommandFlag f) const { return (flags & f) != 0; }
    constexpr bool onMenuBar() const { return kind == ControlKind::Menu && parent == command; }
    constexpr bool hasButton() const { return buttonKey[0] != '\0'; }
};

// The key of the active child window's Close (its system menu). The platform's close keys also
// hold Ctrl+W, which "&Spezial" has: two actions on one key run neither, so a child window closes
// by this key alone, and no command may take it.
inline constexpr const char* kChildWindowCloseShortcut = "Ctrl+F4";

// Every command's row, in enum order.
std::span<const CommandInfo> commandTable();
const CommandInfo& commandInfo(Command command);

// The bands of the main window's cool bar, in band order; a band of a new row breaks the line.
enum class Toolbar : std::uint8_t { Toolbar2, Toolbar1, ToolbarGraphics, ToolbarSaveView, ToolbarLines };

struct ToolbarInfo {
    Toolbar bar;
    const char* objectName;
    bool startsRow;
};

std::span<const ToolbarInfo> toolbarTable();

// One place on a band: a command's button (or the combo), or a separator line.
struct ToolbarSlot {
    Toolbar bar;
    bool separator;
    Command command;  // unused for a separator
};

// Every band's controls in order from the left.
std::span<const ToolbarSlot> toolbarLayout();

}  // namespace kal
