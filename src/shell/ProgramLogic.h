#pragma once
// The menu and toolbar state refresher of the main window (ProgrammLogik), as a pure function:
// from the job state, the graphics windows and the modes of the default graphics window to the
// caption, the recent-file captions, the enabled / checked state of every command it governs
// and the default window's mouse pointer. The main window applies the result; commands that the
// result leaves out keep whatever state they have.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "shell/Commands.h"

namespace kal {

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
    std::int32_t windowCount = 0;
    bool graphicsWindowMarked = false;  // the check mark of "Graphics Window" as it stands
    // A calculation, load, matching, batch run or adjustment is running: the commands that
    // change the job (New, Open, a recent job, Input Files, Units, Options, the quick
    // transformation) wait, and so do the batch run and the distance analysis.
    bool longWorkRunning = false;
    std::optional<GraphicsModes> defaultWindow;  // the default graphics window, when there is one
};

struct MainWindowState {
    std::string caption;
    std::array<std::string, 4> recentCaptions;  // entries 1..4
    std::optional<std::string> exportCaption;   // set once a transformation exists
    // One change per command: a menu entry and the toolbar button that runs it share it.
    std::map<Command, ControlChange> commands;
    // For the default graphics window, when there is one: its pointer, and its modes after the
    // refresher (set-line and delete-line are cleared while line mode is off).
    std::optional<GraphicsPointer> pointer;
    std::optional<GraphicsModes> defaultWindowModes;
};

// The caption: "Kalvoreth Version 2.0.63 | " and the job file, cut in front to 160 characters.
std::string mainWindowCaption(const std::string& currentJobFile);

// "&1 " and the recent file, its "&" doubled so that it shows as written.
std::string recentFileCaption(int slot, const std::string& path);

MainWindowState computeMainWindowState(const ProgramLogicInput& in);

}  // namespace kal
