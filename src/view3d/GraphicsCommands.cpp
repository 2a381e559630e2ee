#include "view3d/GraphicsCommands.h"

#include <limits>

#include "view3d/ViewSteps.h"

namespace kal {

void pointsBigger(ScreenModel& screen, const ScreenActions& actions) {
    // The record keeps the size in 16 bits: the largest size stays, it never wraps to negative.
    if (screen.view.BigNess < std::numeric_limits<std::int16_t>::max()) ++screen.view.BigNess;
    actions.doRedraw();
    actions.doStore();
}

bool pointsSmaller(ScreenModel& screen, const ScreenActions& actions) {
    if (screen.view.BigNess <= 1) return false;
    --screen.view.BigNess;
    actions.doRedraw();
    actions.doStore();
    return true;
}

void smallPoints(ScreenModel& screen, const ScreenActions& actions) {
    screen.view.BigNess = 1;
    actions.doRedraw();
    actions.doStore();
}

void toggleVectorMode(ScreenModel& screen, const ScreenActions& actions,
                      const std::function<void()>& refresh) {
    screen.view.VectorMode = !screen.view.VectorMode;
    if (refresh) refresh();
    actions.doRedraw();
    actions.doStore();
}

void vectorsLongerCommand(ScreenModel& screen, const GraphicsSession& session, const ScreenActions& actions) {
    makeVectorsLonger(screen, session, actions);
    actions.doRedraw();
}

void vectorsShorterCommand(ScreenModel& screen, const GraphicsSession& session,
                           const ScreenActions& actions) {
    makeVectorsShorter(screen, session, actions);
    actions.doRedraw();
}

bool analyseMore(ScreenModel& screen, const ScreenActions& actions) {
    const bool changed = scaleVectorsLonger(screen.view, actions.prompter);
    actions.doRedraw();
    return changed;
}

bool analyseLess(ScreenModel& screen, const ScreenActions& actions) {
    const bool changed = scaleVectorsShorter(screen.view, actions.prompter);
    actions.doRedraw();
    return changed;
}

ModeToggle toggleFlagMode(ScreenModel& screen, bool checked) {
    screen.view.Faehnchenmode = !checked;
    return {checked, false};
}

ModeToggle toggleLineMode(ScreenModel& screen, bool checked) {
    screen.view.LineMode = !checked;
    return {checked, true};
}

ModeToggle toggleSetLine(ScreenModel& screen, bool checked) {
    if (checked) {
        screen.SetLine = false;
        return {true, true};
    }
    screen.SetLine = true;
    screen.DeleteLine = false;
    return {false, false};
}

ModeToggle toggleDeleteLine(ScreenModel& screen, bool checked) {
    if (checked) {
        screen.DeleteLine = false;
        return {true, false};
    }
    screen.DeleteLine = true;
    screen.SetLine = false;
    return {false, false};
}

}  // namespace kal
