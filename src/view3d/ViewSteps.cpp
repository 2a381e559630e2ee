#include "view3d/ViewSteps.h"

#include <algorithm>
#include <cmath>

#include "platform/Prompter.h"

namespace kal {

namespace {
constexpr double kPi = 3.14159265358979;  // the decimal value the stored views were made with
constexpr double kThreeHalvesPi = 4.712388980384685;
constexpr double kDegree = 180.0 / kPi;
}  // namespace

double zoomAbout(ScreenProperties& view, double cx, double cy, int height, double factor) {
    const double m = view.Massstab;
    if (!(m > 0) || !std::isfinite(m) || !(factor > 0) || !std::isfinite(factor)) return 1.0;
    const double wanted = std::clamp(m * factor, kMinMassstab, kMaxMassstab);
    const double f = wanted / m;
    if (f == 1.0) return 1.0;
    const double up = height - cy;  // the pixel's height above the bottom edge
    view.OffsetX = static_cast<float>(cx - (cx - view.OffsetX) * f);
    view.OffsetY = static_cast<float>(up - (up - view.OffsetY) * f);
    view.Massstab = static_cast<float>(m * f);
    return f;
}

void zoomIn(ScreenModel& screen, GraphicsSession& session, const ScreenActions& actions) {
    const double f = 1.0 / kZoomStep;
    if (session.ZoomAtMouse) {
        zoomAbout(screen.view, screen.MouseX, screen.MouseY, screen.height, f);
        actions.doRedraw();
        session.ZoomAtMouse = false;
    } else {
        zoomAbout(screen.view, screen.width / 2.0, screen.height / 2.0, screen.height, f);
        actions.doRedraw();
    }
    actions.doStore();
}

void zoomOut(ScreenModel& screen, const ScreenActions& actions) {
    zoomAbout(screen.view, screen.width / 2.0, screen.height / 2.0, screen.height, kZoomStep);
    actions.doRedraw();
    actions.doStore();
}

ViewAngleTriple standardViewAngles(StandardView which) {
    switch (which) {
        case StandardView::Top:
            return {-kPi, 0, 0};
        case StandardView::Side:
            return {kThreeHalvesPi, 0, 0};
        case StandardView::Front:
            return {kThreeHalvesPi, kThreeHalvesPi, 0};
        case StandardView::Iso:
            return {210 / kDegree, -50 / kDegree, -50 / kDegree};
    }
    return {};
}

void showStandardView(ScreenModel& screen, StandardView which, const ScreenActions& actions) {
    ensureViewAngles(screen.view);
    const ViewAngleTriple a = standardViewAngles(which);
    screen.view.ViewAngles(1, 1) = a.a1;
    screen.view.ViewAngles(1, 2) = a.a2;
    screen.view.ViewAngles(1, 3) = a.a3;
    actions.doProject();
    actions.doRedraw();
    actions.doStore();
}

bool scaleVectorsLonger(ScreenProperties& view, platform::Prompter* prompter) {
    view.Vec_Massstab = static_cast<float>(view.Vec_Massstab * 1.5);
    if (view.Vec_Massstab > kLongestVectorScale) {
        if (prompter) prompter->message(kVectorsTooLongMessage);
        view.Vec_Massstab = static_cast<float>(view.Vec_Massstab / 1.5);
        return false;
    }
    return true;
}

bool scaleVectorsShorter(ScreenProperties& view, platform::Prompter* prompter) {
    view.Vec_Massstab = static_cast<float>(view.Vec_Massstab / 1.5);
    if (view.Vec_Massstab < kShortestVectorScale) {
        if (prompter) prompter->message(kVectorsTooShortMessage);
        view.Vec_Massstab = static_cast<float>(view.Vec_Massstab * 1.5);
        return false;
    }
    return true;
}

void makeVectorsLonger(ScreenModel& screen, const GraphicsSession& session, const ScreenActions& actions) {
    scaleVectorsLonger(screen.view, actions.prompter);
    if (session.ScreenWindowActive) actions.doRedraw();
    actions.doStore();
}

void makeVectorsShorter(ScreenModel& screen, const GraphicsSession& session, const ScreenActions& actions) {
    scaleVectorsShorter(screen.view, actions.prompter);
    if (session.ScreenWindowActive) actions.doRedraw();
    actions.doStore();
}

}  // namespace kal
