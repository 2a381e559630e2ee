#include "view3d/ViewHistory.h"

#include "view3d/SavedViews.h"

namespace kal {

namespace {

template <class F, class... A>
void call(const F& hook, A&&... args) {
    if (hook) hook(std::forward<A>(args)...);
}

}  // namespace

void storeView(UndoRing& ring, const ScreenProperties& window, JobState& job, const ViewHistoryHooks& hooks) {
    const WindowSizeTwips outer = hooks.outerSize ? hooks.outerSize() : WindowSizeTwips{};
    ring.store(window, outer, job.DefaultScreenProperties);
    call(hooks.showControls, ring.controls());
}

void showCurrentRingView(const UndoRing& ring, ScreenProperties& window, const ViewHistoryHooks& hooks) {
    if (!ring.hasView()) return;
    call(hooks.removeFlags);
    restoreViewFromRecord(ring.current(), window);
    call(hooks.fillColourBarDialog, true);
    call(hooks.applyColourSettings);
    call(hooks.rebuildFlags, FlagSource::UndoRing, ring.UndoIndex());
    call(hooks.redraw);
    call(hooks.refreshMainWindow);
}

bool showPreviousView(UndoRing& ring, ScreenProperties& window, const ViewHistoryHooks& hooks) {
    if (!ring.stepBack()) {
        call(hooks.showControls, ring.controls());  // the shared controls may have shown another ring
        return false;
    }
    call(hooks.showControls, ring.controls());
    showCurrentRingView(ring, window, hooks);
    return true;
}

bool showNextView(UndoRing& ring, ScreenProperties& window, const ViewHistoryHooks& hooks) {
    if (!ring.stepForward()) {
        call(hooks.showControls, ring.controls());
        return false;
    }
    showCurrentRingView(ring, window, hooks);
    call(hooks.showControls, ring.controls());
    return true;
}

bool showSavedView(JobState& job, std::int32_t toGet, UndoRing& ring, ScreenProperties& window,
                   std::int32_t pointCloudCount, const ViewHistoryHooks& hooks) {
    if (toGet < 1 || toGet > job.ViewCount || static_cast<std::size_t>(toGet) >= job.SavedViews.size())
        return false;
    call(hooks.removeFlags);
    const ScreenProperties& saved = job.SavedViews[static_cast<std::size_t>(toGet)];
    const DroppedMarks before = marksOf(saved);
    const WindowSizeTwips size = restoreViewFromSavedView(saved, window, pointCloudCount);
    dropMarksOfOtherPoints(window, job);
    const DroppedMarks after = marksOf(window);
    const DroppedMarks dropped{before.lines - after.lines, before.flags - after.flags};
    call(hooks.resizeWindow, size);
    call(hooks.fillColourBarDialog, false);
    call(hooks.applyColourSettings);
    call(hooks.rebuildFlags, FlagSource::SavedView, toGet);
    call(hooks.redraw);
    storeView(ring, window, job, hooks);
    call(hooks.refreshMainWindow);
    if (dropped.total() > 0) call(hooks.tell, droppedMarksMessage(dropped));
    return true;
}

}  // namespace kal
