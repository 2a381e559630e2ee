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
constexpr MenuItem kGraphicsEntries[] = {
    MenuItem::MenueAnsichtAnpassen,    MenuItem::MenueAnsichtcenter,
    MenuItem::MenueGrafikBlackPlane,   MenuItem::MenueGraphicsPrint,
    MenuItem::MenueAnsichtTopview,     MenuItem::MenueAnsichtSideView,
    MenuItem::MenueAnsichtFrontView,   MenuItem::MenueAnsichtIsometricView,
    MenuItem::MenueAnsichtPunkte,      MenuItem::MenueAnsichtVektoren,
    MenuItem::MenueAnsichtAnalyse,     MenuItem::MenueAnsichtToleranzen,
    MenuItem::MenueGlobalRotateAbout,  MenuItem::MenueGlobalFlagsMode,
    MenuItem::MenueAnsichtDynamicFlag, MenuItem::MenueViewS,
    MenuItem::MenueGraphicsLines,
};

}  // namespace

const char* menuItemName(MenuItem item) {
    switch (item) {
        case MenuItem::MenuFileNew:
            return "MenuFileNew";
        case MenuItem::MenuFileOpen:
            return "MenuFileOpen";
        case MenuItem::MenuFileSave:
            return "MenuFileSave";
        case MenuItem::MenuFileInputFiles:
            return "MenuFileInputFiles";
        case MenuItem::MenueDateiAlt1:
            return "MenueDateiAlt1";
        case MenuItem::MenueDateiAlt2:
            return "MenueDateiAlt2";
        case MenuItem::MenueDateiAlt3:
            return "MenueDateiAlt3";
        case MenuItem::MenueDateiAlt4:
            return "MenueDateiAlt4";
        case MenuItem::MenueFileExport:
            return "MenueFileExport";
        case MenuItem::MenuEdit:
            return "MenuEdit";
        case MenuItem::MenuSettingsUnits:
            return "MenuSettingsUnits";
        case MenuItem::MenuTransformation:
            return "MenuTransformation";
        case MenuItem::MenueGraphics:
            return "MenueGraphics";
        case MenuItem::MenueGraphicsWindow:
            return "MenueGraphicsWindow";
        case MenuItem::MenueAnsichtAnpassen:
            return "MenueAnsichtAnpassen";
        case MenuItem::MenueAnsichtcenter:
            return "MenueAnsichtcenter";
        case MenuItem::MenueGrafikBlackPlane:
            return "MenueGrafikBlackPlane";
        case MenuItem::MenueGraphicsPrint:
            return "MenueGraphicsPrint";
        case MenuItem::MenueAnsichtTopview:
            return "MenueAnsichtTopview";
        case MenuItem::MenueAnsichtSideView:
            return "MenueAnsichtSideView";
        case MenuItem::MenueAnsichtFrontView:
            return "MenueAnsichtFrontView";
        case MenuItem::MenueAnsichtIsometricView:
            return "MenueAnsichtIsometricView";
        case MenuItem::MenueAnsichtPunkte:
            return "MenueAnsichtPunkte";
        case MenuItem::MenueAnsichtVektoren:
            return "MenueAnsichtVektoren";
        case MenuItem::MenueAnsichtVektorenVektorModeActive:
            return "MenueAnsichtVektorenVektorModeActive";
        case MenuItem::MenueAnsichtVektorenLonger:
            return "MenueAnsichtVektorenLonger";
        case MenuItem::MenueAnsichtVektorenShorter:
            return "MenueAnsichtVektorenShorter";
        case MenuItem::MenueAnsichtAnalyse:
            return "MenueAnsichtAnalyse";
        case MenuItem::MenueAnsichtToleranzen:
            return "MenueAnsichtToleranzen";
        case MenuItem::MenueGlobalRotateAbout:
            return "MenueGlobalRotateAbout";
        case MenuItem::MenueGlobalFlagsMode:
            return "MenueGlobalFlagsMode";
        case MenuItem::MenueAnsichtDynamicFlag:
            return "MenueAnsichtDynamicFlag";
        case MenuItem::MenueGraphicsLines:
            return "MenueGraphicsLines";
        case MenuItem::MenueGraphicsLinesLineModeActive:
            return "MenueGraphicsLinesLineModeActive";
        case MenuItem::MenueGraphicsLinesSetLines:
            return "MenueGraphicsLinesSetLines";
        case MenuItem::MenueGraphicsLinesDeleteLines:
            return "MenueGraphicsLinesDeleteLines";
        case MenuItem::MenueGlobalGraphics:
            return "MenueGlobalGraphics";
        case MenuItem::MenueViewS:
            return "MenueViewS";
        case MenuItem::MenueViewLastView:
            return "MenueViewLastView";
        case MenuItem::MenueViewNextView:
            return "MenueViewNextView";
        case MenuItem::MenueExtrasOptions:
            return "MenueExtrasOptions";
        case MenuItem::MenueHelpWubrant:
            return "MenueHelpWubrant";
        case MenuItem::ComboSaveView:
            return "ComboSaveView";
    }
    return "";
}

const char* toolbarName(Toolbar bar) {
    switch (bar) {
        case Toolbar::Toolbar2:
            return "Toolbar2";
        case Toolbar::Toolbar1:
            return "Toolbar1";
        case Toolbar::ToolbarGraphics:
            return "ToolbarGraphics";
        case Toolbar::ToolbarSaveView:
            return "ToolbarSaveView";
        case Toolbar::ToolbarLines:
            return "ToolbarLines";
    }
    return "";
}

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
    std::string caption = "&" + std::to_string(slot) + " ";
    for (char c : path) {
        if (c == '&') caption += '&';
        caption += c;
    }
    return caption;
}

MainWindowState ProgrammLogik(const ProgramLogicInput& in) {
    MainWindowState out;
    auto menu = [&](MenuItem item) -> ControlChange& { return out.menus[item]; };
    auto button = [&](Toolbar bar, int position) -> ControlChange& { return out.buttons[{bar, position}]; };

    // Recent files. An empty slot stays in the menu but cannot be chosen: it names no job. A
    // filled one opens a job, so it waits with Open while long work runs.
    constexpr MenuItem kRecent[] = {MenuItem::MenueDateiAlt1, MenuItem::MenueDateiAlt2,
                                    MenuItem::MenueDateiAlt3, MenuItem::MenueDateiAlt4};
    for (int slot = 1; slot <= 4; ++slot) {
        const std::string& path = in.RecentFiles[static_cast<std::size_t>(slot)];
        out.recentCaptions[static_cast<std::size_t>(slot - 1)] = recentFileCaption(slot, path);
        menu(kRecent[slot - 1]).enabled = !path.empty() && !in.longWorkRunning;
    }

    out.caption = mainWindowCaption(in.CurrentJobFile);

    for (MenuItem m : {MenuItem::MenueGraphics, MenuItem::MenueGlobalGraphics, MenuItem::MenuTransformation,
                       MenuItem::MenuEdit})
        menu(m).enabled = in.DataLoaded;

    if (in.TrafoCalculated) {
        menu(MenuItem::MenueFileExport).enabled = true;
        out.exportCaption = "Export";
    } else {
        menu(MenuItem::MenueFileExport).enabled = false;
    }

    // Commands that change the job wait while long work runs; Save keeps its state.
    const bool jobCommands = !in.longWorkRunning;
    for (MenuItem m : {MenuItem::MenuFileNew, MenuItem::MenuFileOpen, MenuItem::MenuFileInputFiles,
                       MenuItem::MenuSettingsUnits, MenuItem::MenueExtrasOptions, MenuItem::MenueHelpWubrant})
        menu(m).enabled = jobCommands;
    menu(MenuItem::MenuFileSave).enabled = true;
    button(Toolbar::Toolbar2, 1).enabled = *menu(MenuItem::MenuFileNew).enabled;
    button(Toolbar::Toolbar2, 2).enabled = *menu(MenuItem::MenuFileOpen).enabled;
    button(Toolbar::Toolbar2, 3).enabled = *menu(MenuItem::MenuFileSave).enabled;
    // The Input Files button runs the menu's command: it waits with it.
    button(Toolbar::Toolbar1, 2).enabled = *menu(MenuItem::MenuFileInputFiles).enabled;

    bool graphicsOpen = in.graphicsWindowMarked;
    if (in.GraphicsWindowCount == 0) {
        menu(MenuItem::MenueGraphicsWindow).checked = false;
        graphicsOpen = false;
    }

    for (MenuItem m : kGraphicsEntries) menu(m).enabled = graphicsOpen;

    button(Toolbar::ToolbarGraphics, 1).enabled = in.DataLoaded;

    for (int p = 2; p <= kToolbarGraphicsPositions; ++p)
        button(Toolbar::ToolbarGraphics, p).enabled = graphicsOpen;
    button(Toolbar::ToolbarSaveView, 6).enabled = graphicsOpen;
    button(Toolbar::ToolbarSaveView, 7).enabled = graphicsOpen;
    menu(MenuItem::ComboSaveView).enabled = graphicsOpen;
    button(Toolbar::ToolbarLines, 1).enabled = graphicsOpen;
    if (!graphicsOpen) {
        // With windows open, last / next view belong to the window's undo ring.
        button(Toolbar::ToolbarSaveView, 8).enabled = false;
        button(Toolbar::ToolbarSaveView, 9).enabled = false;
        menu(MenuItem::MenueViewLastView).enabled = false;
        menu(MenuItem::MenueViewNextView).enabled = false;
        button(Toolbar::ToolbarLines, 2).enabled = false;
        button(Toolbar::ToolbarLines, 3).enabled = false;
    }

    if (!in.defaultWindow) return out;
    GraphicsModes m = *in.defaultWindow;

    const bool vectors = m.VectorMode;
    menu(MenuItem::MenueAnsichtVektorenVektorModeActive).checked = vectors;
    menu(MenuItem::MenueAnsichtVektorenShorter).enabled = vectors;
    menu(MenuItem::MenueAnsichtVektorenLonger).enabled = vectors;
    button(Toolbar::ToolbarGraphics, 22).checked = vectors;
    button(Toolbar::ToolbarGraphics, 23).enabled = vectors;
    button(Toolbar::ToolbarGraphics, 24).enabled = vectors;

    GraphicsPointer pointer = GraphicsPointer::Default;
    button(Toolbar::ToolbarGraphics, 11).checked = m.Faehnchenmode;
    menu(MenuItem::MenueGlobalFlagsMode).checked = m.Faehnchenmode;
    if (m.Faehnchenmode) pointer = GraphicsPointer::Flag;

    button(Toolbar::ToolbarLines, 1).checked = m.LineMode;
    button(Toolbar::ToolbarLines, 2).enabled = m.LineMode;
    button(Toolbar::ToolbarLines, 3).enabled = m.LineMode;
    menu(MenuItem::MenueGraphicsLinesLineModeActive).checked = m.LineMode;
    menu(MenuItem::MenueGraphicsLinesDeleteLines).enabled = m.LineMode;
    menu(MenuItem::MenueGraphicsLinesSetLines).enabled = m.LineMode;
    if (!m.LineMode) {
        m.SetLine = false;
        m.DeleteLine = false;
    }

    // Later modes win the pointer: delete line over set line over flag mode.
    button(Toolbar::ToolbarLines, 2).checked = m.SetLine;
    menu(MenuItem::MenueGraphicsLinesSetLines).checked = m.SetLine;
    if (m.SetLine) pointer = GraphicsPointer::SetLine;
    button(Toolbar::ToolbarLines, 3).checked = m.DeleteLine;
    menu(MenuItem::MenueGraphicsLinesDeleteLines).checked = m.DeleteLine;
    if (m.DeleteLine) pointer = GraphicsPointer::DeleteLine;

    out.pointer = pointer;
    out.defaultWindowModes = m;
    return out;
}

}  // namespace kal
