#include "shell/ui/MainWindowCommands.h"

#include <QMdiSubWindow>
#include <vector>

#include "shell/EditCommands.h"
#include "shell/Manual.h"
#include "shell/WindowTiling.h"

namespace kal {

MainWindowCommands::MainWindowCommands(FormMain& main, JobState& job, platform::Prompter& prompter,
                                       platform::Clipboard& clipboard, platform::ShellOpener& opener,
                                       std::string programFolder)
    : main_(main),
      job_(job),
      prompter_(prompter),
      clipboard_(clipboard),
      opener_(opener),
      programFolder_(std::move(programFolder)) {
    main_.connectCommand(Command::Copy, [this] { copy(); });
    main_.connectCommand(Command::ArrangeWindows, [this] { arrange(); });
    main_.connectCommand(Command::CascadeWindows, [this] { cascade(); });
    main_.connectCommand(Command::Documentation, [this] { openManual(); });
}

void MainWindowCommands::copy() { copyPreparedText(job_, clipboard_); }

void MainWindowCommands::arrange() { arrangeSideBySide(*main_.mdiArea()); }

void MainWindowCommands::cascade() { main_.mdiArea()->cascadeSubWindows(); }

void MainWindowCommands::openManual() {
    kal::openManual(manualPaths(job_.AppDataFolder, programFolder_), opener_, prompter_);
}

void arrangeSideBySide(QMdiArea& area) {
    std::vector<QMdiSubWindow*> windows;
    const QList<QMdiSubWindow*> history = area.subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = history.rbegin(); it != history.rend(); ++it)
        if (!(*it)->isHidden() && !(*it)->isMinimized()) windows.push_back(*it);
    const QRect r = area.viewport()->rect();
    const std::vector<TileRect> tiles =
        tileSideBySide(static_cast<int>(windows.size()), r.width(), r.height());
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        QMdiSubWindow* w = windows[i];
        if (w->isMaximized()) w->showNormal();
        w->setGeometry(tiles[i].x, tiles[i].y, tiles[i].width, tiles[i].height);
    }
}

}  // namespace kal
