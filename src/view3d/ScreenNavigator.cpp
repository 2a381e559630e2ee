#include "view3d/ScreenNavigator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "shared/MatrixOps.h"
#include "shared/NumberText.h"
#include "shared/Rotations.h"
#include "view3d/LineChains.h"
#include "view3d/ViewSteps.h"

namespace kal {
namespace {

// One keyboard turn: a tenth of a quarter turn, π/20.
constexpr double kKeyTurn = 6.28318530717958 / 4 / 10;
constexpr double kDragTurnPerPixel = 0.008;
constexpr double kRollPerPixel = 0.02;
constexpr float kRotateDeadZone = 3;
constexpr double kZoomOutFactor = kZoomStep;

double sign(double v) { return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0); }

// The difference a − b brought into (−π, π].
double wrappedDifference(double a, double b) {
    constexpr double twoPi = 2 * std::numbers::pi;
    double d = std::fmod(a - b, twoPi);
    if (d > std::numbers::pi) d -= twoPi;
    if (d <= -std::numbers::pi) d += twoPi;
    return d;
}

std::int32_t roundHalfEven(double v) { return static_cast<std::int32_t>(std::nearbyint(v)); }

}  // namespace

ScreenNavigator::ScreenNavigator(ScreenProperties& view, NavigationHooks hooks)
    : view_(view), hooks_(std::move(hooks)) {}

void ScreenNavigator::setScene(const PointCloud* cloud, const ViewArrays* arrays,
                               std::int32_t identicalCount) {
    cloud_ = cloud;
    arrays_ = arrays;
    identicalCount_ = identicalCount;
    pickIndexStale_ = true;
}

std::int32_t ScreenNavigator::searchPoint(float x, float y, std::int32_t index) {
    if (cloud_ == nullptr || arrays_ == nullptr) return index;
    if (pickIndexStale_) {
        pickIndex_.rebuild(*cloud_, *arrays_);
        pickIndexStale_ = false;
    }
    return pickIndex_.search(identicalCount_, x, y, index);
}

void ScreenNavigator::store(NavigationOutcome& out) {
    ++out.stores;
    if (hooks_.storeView) hooks_.storeView();
}

void ScreenNavigator::reproject() {
    if (hooks_.reproject) hooks_.reproject();
    pickIndexStale_ = true;
}

void ScreenNavigator::ensureAngles() {
    if (view_.ViewAngles.rows() < 1 || view_.ViewAngles.cols() < 3) {
        Matrix angles(2, 3);
        for (std::int32_t k = 1; k <= 3 && view_.ViewAngles.rows() >= 1 && k <= view_.ViewAngles.cols(); ++k)
            angles(1, k) = view_.ViewAngles(1, k);
        view_.ViewAngles = std::move(angles);
    }
}

double ScreenNavigator::angle(int k) const {
    return view_.ViewAngles.rows() >= 1 && view_.ViewAngles.cols() >= k ? view_.ViewAngles(1, k) : 0.0;
}

void ScreenNavigator::setBand(const RubberBand& band, NavigationOutcome& out) {
    if (band == state.band) return;
    state.band = band;
    out.rubberBandChanged = true;
}

NavigationOutcome ScreenNavigator::press(const PointerInput& input) {
    NavigationOutcome out;
    state.afterDoubleClick = false;
    mouseDown(input.buttons, input.modifiers, input.x, input.y, out);
    state.lastPressFromMouse = true;
    return out;
}

NavigationOutcome ScreenNavigator::move(const PointerInput& input) {
    NavigationOutcome out;
    mouseMove(input.buttons, input.modifiers, input.x, input.y, out);
    return out;
}

NavigationOutcome ScreenNavigator::release(const PointerInput& input) {
    NavigationOutcome out;
    mouseUp(input.buttons, input.modifiers, input.x, input.y, out);
    if (state.afterDoubleClick)
        state.afterDoubleClick = false;
    else
        click(out);
    return out;
}

NavigationOutcome ScreenNavigator::doubleClickPress(const PointerInput&) {
    NavigationOutcome out;
    doubleClick(out);
    state.afterDoubleClick = true;
    return out;
}

void ScreenNavigator::mouseDown(int button, int, float x, float y, NavigationOutcome& out) {
    state.MouseButton = button;
    state.DownX = x;
    state.DownY = y;
    state.lastPressFromMouse = false;
    if (button == mouse::Right && !state.ShiftRotateMode) {
        zoomAbout(view_, x, y, height_, kZoomOutFactor);
        out.redraw = true;
    }
    if (button == mouse::Left) {
        // The drag's kind is settled now; modifiers let go of later do not change it.
        if (state.ShiftRotateMode)
            state.drag = DragKind::Rotate;
        else if (state.CtrlPanMode)
            state.drag = DragKind::Pan;
        else if (state.BlackZKeyMode)
            state.drag = DragKind::PlaneDepth;
        else if (state.BlackThickKeyMode)
            state.drag = DragKind::PlaneThickness;
        else
            state.drag = DragKind::Box;
        if (!state.CtrlPanMode) {
            if (background_ == storedColour(0, 0, 0)) state.bandBorder = storedColour(255, 255, 255);
            if (state.bandBorder == background_) state.bandBorder = storedColour(0, 0, 0);
            state.ZoomBoxActive = true;
        }
    }
    if (button == mouse::Middle) out.redraw = true;
}

void ScreenNavigator::rotateByDrag(float dxIn, float dyIn) {
    const double dx = std::fabs(dxIn) < kRotateDeadZone ? 0.0 : dxIn;
    const double dy = std::fabs(dyIn) < kRotateDeadZone ? 0.0 : dyIn;
    ensureAngles();
    Matrix R(3, 3), D(3, 3), M(3, 3);
    matFromAnglesXYZ(angle(1), angle(2), angle(3), R);
    matFromAnglesXYZ(-dy * kDragTurnPerPixel, -dx * kDragTurnPerPixel, 0, D);
    std::int32_t rows = 0, cols = 0;
    matMult(D, 3, 3, R, 3, 3, M, rows, cols);
    Vec3 first{}, second{};
    anglesFromMatXYZ(M, first, second);
    // Of the two triples giving this matrix, keep the one nearer the current view, each angle
    // unwrapped next to its current value, so the angles move continuously.
    auto distance = [&](const Vec3& s) {
        double sum = 0;
        for (int k = 1; k <= 3; ++k) sum += std::fabs(wrappedDifference(s[k], angle(k)));
        return sum;
    };
    const Vec3& chosen = distance(first) < distance(second) ? first : second;
    for (int k = 1; k <= 3; ++k) {
        const double value = angle(k) + wrappedDifference(chosen[k], angle(k));
        if (std::isfinite(value)) view_.ViewAngles(1, k) = value;
    }
}

void ScreenNavigator::mouseMove(int buttons, int, float x, float y, NavigationOutcome& out) {
    if (buttons == mouse::Left) {
        if (state.drag == DragKind::Rotate) {
            rotateByDrag(state.MouseX - x, state.MouseY - y);
            reproject();
            state.MouseX = x;
            state.MouseY = y;
        }
        out.redraw = true;
        if (state.drag == DragKind::Pan) {
            view_.OffsetX = static_cast<float>(view_.OffsetX - (state.MouseX - x));
            view_.OffsetY = static_cast<float>(view_.OffsetY + (state.MouseY - y));
            reproject();
        }
        if (state.drag == DragKind::Box && state.ZoomBoxActive) {
            RubberBand band = state.band;
            const std::int32_t w = roundHalfEven(static_cast<double>(x) - state.DownX);
            const std::int32_t h = roundHalfEven(static_cast<double>(y) - state.DownY);
            if (w >= 1 && h >= 1) {
                band = {true, roundHalfEven(state.DownX), roundHalfEven(state.DownY), w, h, state.bandBorder};
            } else {
                band.visible = false;
            }
            setBand(band, out);
        }
        if (state.drag == DragKind::PlaneDepth || state.drag == DragKind::PlaneThickness) {
            if (PlaneNormal[1] == 0) PlaneNormal[1] = 1;
            if (PlaneNormal[2] == 0) PlaneNormal[2] = 1;
            const double along = (state.MouseX - x) * sign(PlaneNormal[1]);
            const double across = (state.MouseY - y) * sign(PlaneNormal[2]);
            if (state.drag == DragKind::PlaneDepth) {
                view_.BlackZ = static_cast<float>(view_.BlackZ + along);
                view_.BlackZ = static_cast<float>(view_.BlackZ + across);
            } else {
                const double thick = view_.BlackThick + along + across;
                view_.BlackThick = thick < 0 ? 0 : thick;
            }
            reproject();
        }
    }
    if (buttons == (mouse::Left | mouse::Right) && state.ShiftRotateMode) {
        ensureAngles();
        const double d = (state.MouseX - x) + (state.MouseY - y);
        view_.ViewAngles(1, 3) = view_.ViewAngles(1, 3) + d * kRollPerPixel;
        reproject();
        out.redraw = true;
    }

    // Hover: the point under the mouse.
    state.PickedPoint = searchPoint(x, y, 0);
    out.hoverSearched = true;
    out.hoveredRow = state.PickedPoint;
    if (state.PickedPoint != 0 && modes.DynamicFlagMode) {
        // The dynamic flag runs the click in flag mode: the flag moves onto the hovered point
        // and the click's line step follows. A real right or middle press stops both, as it
        // stops the click.
        if (!lastPressWasRightOrMiddle()) {
            if (hooks_.dynamicFlag) hooks_.dynamicFlag(state.PickedPoint);
            lineStep(out);
            state.ClickConsumed = false;
        }
        out.redraw = true;
    }

    state.MouseX = x;
    state.MouseY = y;
    if (modes.SetLine) out.redraw = true;

    const bool overAxes = x > 20 && x < 90 && y > height_ - 200 && y < height_ - 20;
    const std::string tip = overAxes ? kAxisToolTip : "";
    if (tip != state.toolTip) {
        state.toolTip = tip;
        out.toolTip = tip;
    }

    if (modes.DeleteLine && view_.LineCount > 0 && state.PickedPoint != 0 && arrays_ != nullptr) {
        const std::int32_t u = segmentUnderMouse(view_, *arrays_, state.MouseX, state.MouseY);
        if (u != 0) state.SelectedLine = u;
        out.redraw = true;
    }
}

void ScreenNavigator::mouseUp(int, int, float x, float y, NavigationOutcome& out) {
    if (x != state.DownX && state.drag == DragKind::Box && state.MouseButton == mouse::Left) {
        const double w = static_cast<double>(x) - state.DownX;
        const double h = static_cast<double>(y) - state.DownY;
        const double m = view_.Massstab;
        if (std::fabs(w) > 8 && std::fabs(h) > 8 && m > 0 && std::isfinite(m)) {
            const double s1 = width_ * m / std::fabs(w);
            const double s2 = height_ * m / std::fabs(h);
            double s = s1 < s2 ? s1 : s2;
            if (s > 1000000) s = 1000000;
            s = std::clamp(s, kMinMassstab, kMaxMassstab);
            if (s > 0 && std::isfinite(s)) {
                // The box's centre lands on the surface's centre: column DownX goes to a and
                // row DownY to c, with the box filling the surface along its tighter side.
                const double a = (width_ - s * w / m) / 2;
                const double c = (height_ - s * h / m) / 2;
                view_.OffsetX = static_cast<float>(a - s * (state.DownX - view_.OffsetX) / m);
                view_.OffsetY =
                    static_cast<float>(height_ - c - s * (height_ - state.DownY - view_.OffsetY) / m);
                view_.Massstab = static_cast<float>(s);
                state.ClickConsumed = true;
                out.redraw = true;
            }
        }
    }
    if (state.MouseButton == mouse::Left) {
        RubberBand hidden = state.band;
        hidden.visible = false;
        setBand(hidden, out);
        state.ZoomBoxActive = false;
        state.drag = DragKind::None;
    }
    if (!modes.Faehnchenmode) store(out);
}

void ScreenNavigator::lineStep(NavigationOutcome& out) {
    if (modes.SetLine) {
        state.PickedPoint = searchPoint(state.MouseX, state.MouseY, state.PickedPoint);
        addLineStep(view_, state.PickedPoint);
    }
    if (modes.DeleteLine && view_.LineCount > 0 && state.SelectedLine != 0) {
        if (deleteSelectedLine(view_, state.SelectedLine)) out.redraw = true;
    }
}

void ScreenNavigator::click(NavigationOutcome& out) {
    if (lastPressWasRightOrMiddle()) return;
    if (modes.Faehnchenmode && !state.ShiftRotateMode && !state.CtrlPanMode) {
        if (!state.ClickConsumed && hooks_.createFlag) hooks_.createFlag(state.PickedPoint);
    } else if (!state.ClickConsumed) {
        state.PickedPoint = searchPoint(state.MouseX, state.MouseY, state.PickedPoint);
        out.picked = state.PickedPoint;
    }
    lineStep(out);
    state.ClickConsumed = false;
}

void ScreenNavigator::doubleClick(NavigationOutcome& out) {
    if (!modes.LineMode) {
        if (state.MouseButton == mouse::Left && hooks_.chooseBackgroundColour)
            hooks_.chooseBackgroundColour();
        store(out);
    }
    endLineChain(view_);
}

NavigationOutcome ScreenNavigator::keyDown(const KeyInput& key) {
    NavigationOutcome out;
    if (key.modifiers == modifier::Shift) state.ShiftRotateMode = true;
    if (key.modifiers == modifier::Ctrl) state.CtrlPanMode = true;

    auto turn = [&](int k, double by) {
        ensureAngles();
        view_.ViewAngles(1, k) = view_.ViewAngles(1, k) + by;
        reproject();
    };
    auto pan = [&](float& offset, double by) { offset = static_cast<float>(offset + by); };
    bool redrawAndStore = true;
    switch (key.keyCode) {
        case keycode::Pause:
            if (modes.AnalyseFlag && hooks_.pauseKey) hooks_.pauseKey();
            redrawAndStore = false;
            break;
        case keycode::NumpadMinus:
            mouseDown(mouse::Right, key.modifiers, state.MouseX, state.MouseY, out);
            store(out);
            redrawAndStore = false;
            break;
        case keycode::NumpadPlus: {
            const double m = view_.Massstab;
            if (m > 0 && std::isfinite(m)) {
                double target = m / kZoomOutFactor;
                if (target > 1000) target = 1000;
                zoomAbout(view_, state.MouseX, state.MouseY, height_, target / m);
            }
            break;
        }
        case keycode::Down:
            if (state.ShiftRotateMode)
                turn(1, -kKeyTurn);
            else
                pan(view_.OffsetY, -height_ / 40.0);
            break;
        case keycode::Up:
            if (state.ShiftRotateMode)
                turn(1, kKeyTurn);
            else
                pan(view_.OffsetY, height_ / 40.0);
            break;
        case keycode::Left:
            if (state.ShiftRotateMode)
                turn(2, -kKeyTurn);
            else
                pan(view_.OffsetX, -width_ / 40.0);
            break;
        case keycode::Right:
            if (state.ShiftRotateMode)
                turn(2, kKeyTurn);
            else
                pan(view_.OffsetX, width_ / 40.0);
            break;
        default:
            redrawAndStore = false;
            break;
    }
    if (redrawAndStore) {
        out.redraw = true;
        store(out);
    }

    switch (key.keyCode) {
        case keycode::R:
        case keycode::L:
            if (state.ShiftRotateMode) {
                turn(3, key.keyCode == keycode::R ? -kKeyTurn : kKeyTurn);
                out.redraw = true;
            }
            store(out);
            break;
        case keycode::B:
            state.BlackZKeyMode = true;
            break;
        case keycode::T:
            state.BlackThickKeyMode = true;
            break;
        default:
            break;
    }
    return out;
}

NavigationOutcome ScreenNavigator::keyUp(const KeyInput& key) {
    NavigationOutcome out;
    if (key.autoRepeat) return out;
    state.ShiftRotateMode = false;
    state.CtrlPanMode = false;
    state.BlackZKeyMode = false;
    state.BlackThickKeyMode = false;
    return out;
}

WheelStep ScreenNavigator::wheelStep(int delta) {
    // Touchpads send small deltas: they add up to a notch; a notch or more is one step.
    if ((delta > 0) != (state.wheelRemainder > 0)) state.wheelRemainder = 0;
    state.wheelRemainder += delta;
    if (std::abs(state.wheelRemainder) < kWheelStep) return WheelStep::None;
    const bool forward = state.wheelRemainder > 0;
    state.wheelRemainder = 0;
    return forward ? WheelStep::ZoomInAtMouse : WheelStep::ZoomOutAtCentre;
}

NavigationOutcome ScreenNavigator::wheel(int delta) {
    NavigationOutcome out;
    const WheelStep step = wheelStep(delta);
    if (step == WheelStep::None) return out;
    if (step == WheelStep::ZoomInAtMouse)
        zoomAbout(view_, state.MouseX, state.MouseY, height_, 1 / kZoomOutFactor);
    else
        zoomAbout(view_, width_ / 2.0, height_ / 2.0, height_, kZoomOutFactor);
    out.redraw = true;
    store(out);
    return out;
}

std::array<std::string, 8> hoverPanelTexts(const PointCloud& cloud, std::int32_t k, double lengthFactor,
                                           const std::string& lengthFormat) {
    std::array<std::string, 8> panels;
    if (k <= 0 || k > cloud.count()) {
        panels[0] = "no Pt Id.";
        return panels;
    }
    auto length = [&](int column) { return formatNumber(cloud(k, column) * lengthFactor, lengthFormat); };
    panels[0] = "Pnt.ID: " + cloud.name(k);
    panels[1] = "x: " + length(cloud::X);
    panels[2] = "y: " + length(cloud::Y);
    panels[3] = "z: " + length(cloud::Z);
    panels[4] = "dx: " + length(cloud::DeviationX);
    panels[5] = "dy: " + length(cloud::DeviationY);
    panels[6] = "dz: " + length(cloud::DeviationZ);
    panels[7] = "index " + std::to_string(k);
    return panels;
}

}  // namespace kal
