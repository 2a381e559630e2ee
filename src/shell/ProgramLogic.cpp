#include "shell/ProgramLogic.h"

#include <vector>

#include "shared/Version.h"

namespace kal {

namespace {

constexpr std::size_t kMaxCaptionLength = 160;

// Characters, not bytes: a path may hold any letter, and the cut must not split one.
std::vector<std::size_t> codePointStarts(const std::string& s) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) starts.push_back(i);
    return starts;
}

// The 17 entries of the Graphics menu that need an open graphics window, in the order they
// are set.
constexpr Command kGraphicsEntries[] = {
    Command::ZoomAll,     Command::CenterView,  Command::HidingPlane, Command::PrintGraphicsToClipboard,
    Command::TopView,     Command::SideView,    Command::FrontView,   Command::IsometricView,
    Command::PointsMenu,  Command::VectorsMenu, Command::AnalyseMenu, Command::ToleranceMenu,
    Command::RotateAbout, Command::FlagMode,    Command::DynamicFlag, Command::ViewsMenu,
    Command::LinesMenu,
};

}  // namespace

std::string mainWindowCaption(const std::string& currentJobFile) {
    const std::string prefix = kCaptionPrefix;
    std::string rest = versionText() + " | " + currentJobFile;
    const std::size_t prefixLength = codePointStarts(prefix).size();
    const std::vector<std::size_t> starts = codePointStarts(rest);
    if (prefixLength + starts.size() > kMaxCaptionLength) {
        // Keep the end, which names the file: "..." and the last 157 - prefix characters.
        const std::size_t keep = kMaxCaptionLength - 3 - prefixLength;
        rest = "..." + rest.substr(starts[starts.size() - keep]);
    }
    return prefix + rest;
}

std::string recentFileCaption(int slot, const std::string& path) {
    std::string caption = std::string("&").append(std::to_string(slot)).append(" ");
    for (char c : path) {
        if (c == '&') caption += '&';
        caption += c;
    }
    return caption;
}

MainWindowState computeMainWindowState(const ProgramLogicInput& in) {
    using C = Command;
    MainWindowState out;
    auto set = [&](Command c) -> ControlChange& { return out.commands[c]; };

    // Recent files. An empty slot stays in the menu but cannot be chosen: it names no job. A
    // filled one opens a job, so it waits with Open while long work runs.
    constexpr Command kRecent[] = {C::RecentFile1, C::RecentFile2, C::RecentFile3, C::RecentFile4};
    for (int slot = 1; slot <= 4; ++slot) {
        const std::string& path = in.RecentFiles[static_cast<std::size_t>(slot)];
        out.recentCaptions[static_cast<std::size_t>(slot - 1)] = recentFileCaption(slot, path);
        set(kRecent[slot - 1]).enabled = !path.empty() && !in.longWorkRunning;
    }

    out.caption = mainWindowCaption(in.CurrentJobFile);

    for (Command c : {C::GraphicsMenu, C::GlobalGraphicsMenu, C::TransformationMenu, C::EditMenu})
        set(c).enabled = in.DataLoaded;

    if (in.TrafoCalculated) {
        set(C::ExportMenu).enabled = true;
        out.exportCaption = "Export";
    } else {
        set(C::ExportMenu).enabled = false;
    }

    // Commands that change the job wait while long work runs; Save keeps its state. The file
    // toolbar's New, Open and Save and the Input Files button are these commands' own buttons.
    // The batch run and the distance analysis are long work of their own: one never starts
    // inside another.
    const bool jobCommands = !in.longWorkRunning;
    for (Command c : {C::NewJob, C::OpenJob, C::InputFiles, C::Units, C::Options, C::Special,
                      C::BatchTransform, C::DistanceScale})
        set(c).enabled = jobCommands;
    set(C::SaveJob).enabled = true;

    bool graphicsOpen = in.graphicsWindowMarked;
    if (in.windowCount == 0) {
        set(C::GraphicsWindow).checked = false;
        graphicsOpen = false;
    }

    for (Command c : kGraphicsEntries) set(c).enabled = graphicsOpen;

    // The "Graphics" button goes with its menu; the rest of its band with the open windows.
    set(C::GraphicsButton).enabled = in.DataLoaded;
    for (const ToolbarSlot& slot : toolbarLayout())
        if (slot.bar == Toolbar::ToolbarGraphics && !slot.separator && slot.command != C::GraphicsButton)
            set(slot.command).enabled = graphicsOpen;
    for (Command c : {C::SaveView, C::DeleteView, C::SavedViews, C::LineMode}) set(c).enabled = graphicsOpen;
    if (!graphicsOpen) {
        // With windows open, last / next view belong to the window's undo ring.
        for (Command c : {C::LastView, C::NextView, C::SetLines, C::DeleteLines}) set(c).enabled = false;
    }

    if (!in.defaultWindow) return out;
    GraphicsModes m = *in.defaultWindow;

    const bool vectors = m.VectorMode;
    set(C::VectorMode).checked = vectors;
    set(C::VectorsShorter).enabled = vectors;
    set(C::VectorsLonger).enabled = vectors;

    GraphicsPointer pointer = GraphicsPointer::Default;
    set(C::FlagMode).checked = m.Faehnchenmode;
    if (m.Faehnchenmode) pointer = GraphicsPointer::Flag;

    set(C::LineMode).checked = m.LineMode;
    set(C::SetLines).enabled = m.LineMode;
    set(C::DeleteLines).enabled = m.LineMode;
    if (!m.LineMode) {
        m.SetLine = false;
        m.DeleteLine = false;
    }

    // Later modes win the pointer: delete line over set line over flag mode.
    set(C::SetLines).checked = m.SetLine;
    if (m.SetLine) pointer = GraphicsPointer::SetLine;
    set(C::DeleteLines).checked = m.DeleteLine;
    if (m.DeleteLine) pointer = GraphicsPointer::DeleteLine;

    out.pointer = pointer;
    out.defaultWindowModes = m;
    return out;
}

}  // namespace kal
