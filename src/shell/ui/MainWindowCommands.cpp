#include "shell/ui/MainWindowCommands.h"

#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <algorithm>
#include <vector>

#include "shared/ui/WindowPosQt.h"
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

void MainWindowCommands::cascade() { cascadeKeepingSizes(*main_.mdiArea()); }

void MainWindowCommands::openManual() {
    kal::openManual(manualPaths(job_.AppDataFolder, programFolder_), opener_, prompter_);
}

namespace {

// The child windows that take part in an arrangement: shown and not minimised, in the order
// they were last active, the active one first.
std::vector<QMdiSubWindow*> arrangedWindows(const QMdiArea& area) {
    std::vector<QMdiSubWindow*> windows;
    const QList<QMdiSubWindow*> history = area.subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = history.rbegin(); it != history.rend(); ++it)
        if (!(*it)->isHidden() && !(*it)->isMinimized()) windows.push_back(*it);
    return windows;
}

TileSize minimumOf(const QMdiSubWindow* w) {
    const QSize least = usableMinimumSize(w);
    return {least.width(), least.height()};
}

// The size that shows all of the window in an area of `area`: a window that scrolls inside itself
// and is taller than the area shows its vertical scroll bar, which takes room from its width.
TileSize wholeOf(const QMdiSubWindow* w, const QSize& area) {
    QSize whole = wholeSize(w);
    if (w->widget() && w->widget()->property(kScrollsInsideProperty).toBool() &&
        whole.height() > area.height())
        whole.rwidth() += w->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, w);
    return {whole.width(), whole.height()};
}

// The windows' places are those of the area itself: a child window's position is taken in the
// visible part, which the scroll bars shift, so the area goes back to its top-left corner first.
void scrollToCorner(QMdiArea& area) {
    area.horizontalScrollBar()->setValue(area.horizontalScrollBar()->minimum());
    area.verticalScrollBar()->setValue(area.verticalScrollBar()->minimum());
}

// The size of the area once the windows stand inside it: its scroll bars then go.
QSize areaSize(const QMdiArea& area) {
    const QRect inside = area.contentsRect();
    return inside.size().expandedTo(area.viewport()->size());
}

}  // namespace

void arrangeSideBySide(QMdiArea& area) {
    const std::vector<QMdiSubWindow*> windows = arrangedWindows(area);
    for (QMdiSubWindow* w : windows)
        if (w->isMaximized()) w->showNormal();
    scrollToCorner(area);
    const QSize r = areaSize(area);
    std::vector<ArrangedWindow> sizes;
    for (QMdiSubWindow* w : windows) sizes.push_back({minimumOf(w), wholeOf(w, r)});
    std::vector<std::size_t> cascaded;
    const std::vector<TileRect> places =
        arrangeInside(sizes, r.width(), r.height(), cascadeStep(area), &cascaded);
    for (std::size_t i = 0; i < places.size(); ++i)
        windows[i]->setGeometry(places[i].x, places[i].y, places[i].width, places[i].height);
    // The windows that did not fit as tiles stand over them, in their cascade's order.
    for (std::size_t i : cascaded) windows[i]->raise();
}

int cascadeStep(const QMdiArea& area) {
    // One title bar down, as the system's own cascade steps.
    QStyleOptionTitleBar option;
    option.initFrom(&area);
    return std::max(1, area.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &area));
}

void cascadeKeepingSizes(QMdiArea& area) {
    // The least recently active window at the back, the active one in front.
    std::vector<QMdiSubWindow*> windows = arrangedWindows(area);
    std::reverse(windows.begin(), windows.end());
    std::vector<TileSize> sizes, minimums;
    for (QMdiSubWindow* w : windows) {
        if (w->isMaximized()) w->showNormal();  // back to its own size first
        sizes.push_back({w->width(), w->height()});
        minimums.push_back(minimumOf(w));
    }
    scrollToCorner(area);
    const QSize r = areaSize(area);
    const std::vector<TileRect> places =
        kal::cascadeKeepingSizes(sizes, minimums, r.width(), r.height(), cascadeStep(area));
    for (std::size_t i = 0; i < places.size(); ++i) {
        windows[i]->setGeometry(places[i].x, places[i].y, places[i].width, places[i].height);
        windows[i]->raise();
    }
}

}  // namespace kal
