#include "view3d/HidingPlaneDialog.h"

namespace kal {

void HidingPlaneDialog::load() {
    HidingPlaneWindow* window = defaultWindow_ ? defaultWindow_() : nullptr;
    const ScreenProperties* view = window ? &window->screenProperties() : nullptr;
    state_.activate = view && view->BlackPlane;
    state_.showBorders = view && view->BlackPlaneBorders;
    setActivate(state_.activate);
}

void HidingPlaneDialog::setActivate(bool on) {
    state_.activate = on;
    state_.showBordersEnabled = on;
    state_.initialiseEnabled = on;
}

void HidingPlaneDialog::setShowBorders(bool on) { state_.showBorders = on; }

bool HidingPlaneDialog::initialise() {
    HidingPlaneWindow* window = defaultWindow_ ? defaultWindow_() : nullptr;
    if (!window) return false;
    window->initialiseBlackPlane(state_.activate, state_.showBorders);
    return true;
}

bool HidingPlaneDialog::apply() {
    HidingPlaneWindow* window = defaultWindow_ ? defaultWindow_() : nullptr;
    if (!window) return false;
    ScreenProperties& view = window->screenProperties();
    if (state_.activate) {
        view.BlackPlane = true;
        // Planes set up once keep their place when hiding goes off and on again.
        if (!view.BlackInitial) window->initialiseBlackPlane(true, state_.showBorders);
    } else {
        view.BlackPlane = false;
        window->makeAllPointsVisible();
    }
    view.BlackPlaneBorders = state_.showBorders;
    window->redraw();
    window->storeScreenProperties();
    job_.JobDirty = true;
    return true;
}

}  // namespace kal
