#pragma once
// The main window's commands that need no window of their own: Edit > "Copy", Window > "&Arrange"
// and "&Cascade", Help > "Documentation". Made once with the main window; it connects the
// commands, which are enabled from then on as the state refresher decides.
#include <QMdiArea>
#include <string>

#include "platform/Clipboard.h"
#include "platform/Prompter.h"
#include "platform/ShellOpen.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"

namespace kal {

class MainWindowCommands {
  public:
    // `programFolder`: the folder of the executable, the second place the manual is looked for.
    MainWindowCommands(FormMain& main, JobState& job, platform::Prompter& prompter,
                       platform::Clipboard& clipboard, platform::ShellOpener& opener,
                       std::string programFolder);

    // (MenuEditCopy_Click) `ClipboardText` to the clipboard.
    void copy();
    // (MenueWindowArrange_Click) The open child windows side by side, the active one leftmost.
    void arrange();
    // (MenueWindowCascade_Click)
    void cascade();
    // (MenueHelpQuestion_Click)
    void openManual();

  private:
    FormMain& main_;
    JobState& job_;
    platform::Prompter& prompter_;
    platform::Clipboard& clipboard_;
    platform::ShellOpener& opener_;
    std::string programFolder_;
};

// The child windows of `area` that are shown and not minimised tiled side by side over its
// viewport, in the order they were last active (the active window leftmost); a maximised window
// is restored first, as the columns replace it. Where they do not fit side by side at their
// minimums, windows go above one another (tileSideBySide in WindowTiling.h), so each lies wholly
// inside the area. No window is made narrower or lower than its usable minimum
// (usableMinimumSize): only what cannot fit at all runs past the edge, where the area scrolls.
void arrangeSideBySide(QMdiArea& area);

// The child windows of `area` that are shown and not minimised as a cascade, the active one in
// front, each one title bar below the one behind it so every title bar stays in view: each keeps
// its size (a maximised one its normal size), shrunk to stay inside the area only down to its
// usable minimum (cascadeKeepingSizes in WindowTiling.h).
void cascadeKeepingSizes(QMdiArea& area);

// The distance in pixels between two windows of a cascade: one title bar.
int cascadeStep(const QMdiArea& area);

}  // namespace kal
