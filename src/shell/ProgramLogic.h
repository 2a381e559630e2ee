#pragma once
// The menu and toolbar state refresher of the main window (`ProgrammLogik`), as a pure function:
// from the job state, the graphics windows and the modes of the default graphics window to the
// caption, the recent-file captions, the enabled / checked state of every entry it governs and
// the default window's mouse pointer. The main window applies the result; entries that the
// result leaves out keep whatever state they have.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace kal {

// The main window's menu entries and the combo of saved views (names as the window's controls).
enum class MenuItem {
    MenuFileNew,
    MenuFileOpen,
    MenuFileSave,
    MenuFileInputFiles,
    MenueDateiAlt1,
    MenueDateiAlt2,
    MenueDateiAlt3,
    MenueDateiAlt4,
    MenueFileExport,
    MenuEdit,
    MenuSettingsUnits,
    MenuTransformation,
    MenueGraphics,
    MenueGraphicsWindow,
    MenueAnsichtAnpassen,
    MenueAnsichtcenter,
    MenueGrafikBlackPlane,
    MenueGraphicsPrint,
    MenueAnsichtTopview,
    MenueAnsichtSideView,
    MenueAnsichtFrontView,
    MenueAnsichtIsometricView,
    MenueAnsichtPunkte,
    MenueAnsichtVektoren,
    MenueAnsichtVektorenVektorModeActive,
    MenueAnsichtVektorenLonger,
    MenueAnsichtVektorenShorter,
    MenueAnsichtAnalyse,
    MenueAnsichtToleranzen,
    MenueGlobalRotateAbout,
    MenueGlobalFlagsMode,
    MenueAnsichtDynamicFlag,
    MenueGraphicsLines,
    MenueGraphicsLinesLineModeActive,
    MenueGraphicsLinesSetLines,
    MenueGraphicsLinesDeleteLines,
    MenueGlobalGraphics,
    MenueViewS,
    MenueViewLastView,
    MenueViewNextView,
    MenueExtrasOptions,
    MenueHelpWubrant,
    ComboSaveView,
};

// The control's name, as the main window names its actions ("MenueGraphicsWindow").
const char* menuItemName(MenuItem item);

// The bands of the main window's cool bar, in band order.
enum class Toolbar { Toolbar2, Toolbar1, ToolbarGraphics, ToolbarSaveView, ToolbarLines };

const char* toolbarName(Toolbar bar);

// Positions in each toolbar, counted from 1, separators included.
inline constexpr int kToolbar2Positions = 5;
inline constexpr int kToolbar1Positions = 5;
inline constexpr int kToolbarGraphicsPositions = 25;
inline constexpr int kToolbarSaveViewPositions = 9;
inline constexpr int kToolbarLinesPositions = 3;

// A toolbar button addressed by its position.
struct ToolButton {
    Toolbar bar;
    int position;
    auto operator<=>(const ToolButton&) const = default;
};

// A change to one control; an empty field leaves that property as it is.
struct ControlChange {
    std::optional<bool> enabled;
    std::optional<bool> checked;  // a menu's check mark, a toolbar button's pressed state
    bool operator==(const ControlChange&) const = default;
};

// The mouse pointer of the default graphics window.
enum class GraphicsPointer { Default, Flag, SetLine, DeleteLine };

// The public modes of the default graphics window that the refresher mirrors.
struct GraphicsModes {
    bool VectorMode = false;
    bool Faehnchenmode = false;
    bool LineMode = false;
    bool SetLine = false;
    bool DeleteLine = false;
    bool operator==(const GraphicsModes&) const = default;
};

struct ProgramLogicInput {
    std::string CurrentJobFile;
    std::array<std::string, 5> RecentFiles{};  // 1..4
    bool DataLoaded = false;
    bool TrafoCalculated = false;
    std::int32_t GraphicsWindowCount = 0;
    bool graphicsWindowMarked = false;  // the check mark of "Graphics Window" as it stands
    // A calculation, load, matching, batch run or adjustment is running: the commands that
    // change the job (New, Open, a recent job, Input Files, Units, Options, the quick
    // transformation) wait.
    bool longWorkRunning = false;
    std::optional<GraphicsModes> defaultWindow;  // the default graphics window, when there is one
};

struct MainWindowState {
    std::string caption;
    std::array<std::string, 4> recentCaptions;  // entries 1..4
    std::optional<std::string> exportCaption;   // set once a transformation exists
    std::map<MenuItem, ControlChange> menus;
    std::map<ToolButton, ControlChange> buttons;
    // For the default graphics window, when there is one: its pointer, and its modes after the
    // refresher (set-line and delete-line are cleared while line mode is off).
    std::optional<GraphicsPointer> pointer;
    std::optional<GraphicsModes> defaultWindowModes;
};

// The caption: "Kalvoreth Version 2.0.63 | " and the job file, cut in front to 160 characters.
std::string mainWindowCaption(const std::string& currentJobFile);

// "&1 " and the recent file, its "&" doubled so that it shows as written.
std::string recentFileCaption(int slot, const std::string& path);

MainWindowState ProgrammLogik(const ProgramLogicInput& in);

}  // namespace kal
