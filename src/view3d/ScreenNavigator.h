#pragma once
// Mouse, keyboard and wheel steering of one graphics window (the picture box's MouseDown,
// MouseMove, MouseUp, Click, DblClick, KeyDown, KeyUp and the wheel), as a state machine fed
// plain event structs. It changes the window's view record directly (ViewAngles, Massstab,
// OffsetX/Y, BlackZ, BlackThick, the line segments) and answers what the window has to do:
// redraw, show or hide the rubber band, the hovered point, the tooltip, the picked point.
// Undo-ring stores, flag creation and the colour dialog go through hooks the window supplies.
//
// Buttons and modifiers are bit sets as the handlers' contract has them: buttons 1 left,
// 2 right, 4 middle; modifiers 1 Shift, 2 Ctrl, 4 Alt (the keypad flag is not a modifier).
// Keys are the classic virtual-key codes in `keycode`.
//
// Event order: a press is MouseDown; a release is MouseUp followed by Click; a double-click
// press is DblClick and the release after it is MouseUp only.
//
// Deviations from the bare handler rules, each mending a fault:
// - the kind of a left drag (rotate, pan, plane depth, plane thickness, box zoom) is fixed when
//   the button goes down, so letting go of Shift mid-drag never turns it into a box zoom;
// - a mouse rotation keeps, of the two angle triples of the new view, the one nearer the
//   current angles (and unwrapped next to them), so Shift and the arrows keep turning one way;
// - every zoom keeps Massstab finite and positive; numpad plus caps it at 1000 with offsets
//   computed for the capped factor, so the picture does not jump;
// - the line hover measures the distance to the segment directly (no false "Poblem while
//   searching actual Line" from rounding);
// - only a real right or middle press makes the click return early; a numpad minus (which
//   acts as a right press) does not stop the dynamic flag.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "shared/ImageBuffer.h"
#include "shared/ViewRecords.h"
#include "view3d/PointCloud.h"
#include "view3d/PointPicking.h"
#include "view3d/ViewArrays.h"

namespace kal {

namespace mouse {
inline constexpr int Left = 1, Right = 2, Middle = 4;
}
namespace modifier {
inline constexpr int Shift = 1, Ctrl = 2, Alt = 4;
}
namespace keycode {
inline constexpr int Pause = 19, Left = 37, Up = 38, Right = 39, Down = 40;
inline constexpr int B = 66, L = 76, R = 82, T = 84;
inline constexpr int NumpadPlus = 107, NumpadMinus = 109;
}  // namespace keycode

struct PointerInput {
    float x = 0;  // pixels of the drawing surface
    float y = 0;
    int buttons = 0;    // on press/release the button concerned, on a move the buttons held
    int modifiers = 0;  // Shift 1, Ctrl 2, Alt 4
};

struct KeyInput {
    int keyCode = 0;
    int modifiers = 0;
    bool autoRepeat = false;  // repeats of a held key; their releases are ignored
};

// The rubber-band box (ShapeZoom) as the window should show it.
struct RubberBand {
    bool visible = false;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    StoredColour border = 0;
    bool operator==(const RubberBand&) const = default;
};

enum class DragKind { None, Rotate, Pan, PlaneDepth, PlaneThickness, Box };

enum class WheelStep { None, ZoomInAtMouse, ZoomOutAtCentre };

// What one event asks of the window. Several redraw requests in one event are one redraw.
struct NavigationOutcome {
    bool redraw = false;
    int stores = 0;  // views pushed into the undo ring by this event
    bool rubberBandChanged = false;
    bool hoverSearched = false;
    std::int32_t hoveredRow = 0;         // after a move: the point under the mouse, 0 for none
    std::optional<std::string> toolTip;  // the picture's new tooltip, when it changed
    std::optional<std::int32_t> picked;  // a click selected this row (the selection path)
};

struct NavigationHooks {
    std::function<void()> storeView;  // StoreScreenPropertiesToRecord
    std::function<void()> reproject;  // bring the window's pixel arrays up to the current view
    std::function<void(std::int32_t row)> createFlag;   // the click's flag path, on this row
    std::function<void(std::int32_t row)> dynamicFlag;  // move the dynamic flag onto this row
    std::function<void()> chooseBackgroundColour;       // the double click's colour dialog
    std::function<void()> pauseKey;                     // Pause while the analyse mode runs
};

// The window's public switches the handlers read (set by the main window's commands).
struct NavigationModes {
    bool Faehnchenmode = false;
    bool LineMode = false;
    bool SetLine = false;
    bool DeleteLine = false;
    bool DynamicFlagMode = false;
    bool AnalyseFlag = false;
};

// The handlers' own members, open for the window and for tests.
struct NavigationState {
    float MouseX = 0, MouseY = 0;  // position of the previous move
    float DownX = 0, DownY = 0;    // position of the last press
    int MouseButton = 0;           // button of the last press
    bool ZoomBoxActive = false;
    bool BlackZKeyMode = false, BlackThickKeyMode = false;
    bool ShiftRotateMode = false, CtrlPanMode = false;
    bool ClickConsumed = false;     // a box zoom swallowed the click that follows
    std::int32_t PickedPoint = 0;   // row picked or hovered last
    std::int32_t SelectedLine = 0;  // segment marked by the line hover
    DragKind drag = DragKind::None;
    bool lastPressFromMouse = false;  // MouseButton came from a real press, not a key
    bool afterDoubleClick = false;
    RubberBand band;
    StoredColour bandBorder = 0;  // kept from one drag to the next
    std::string toolTip;
    int wheelRemainder = 0;  // wheel units not yet worth a step
};

// The tooltip over the axis cross in the lower-left corner.
inline constexpr const char* kAxisToolTip = "red = x   yellow = y    green = z   |   -------System = MCS";
inline constexpr int kWheelStep = 120;

class ScreenNavigator {
  public:
    explicit ScreenNavigator(ScreenProperties& view, NavigationHooks hooks = {});

    // The cloud and the window's pixel arrays the searches read; both must outlive the calls.
    void setScene(const PointCloud* cloud, const ViewArrays* arrays, std::int32_t identicalCount);
    // The pixel arrays or the shown/visible marks changed (after every redraw or projection).
    void pixelsChanged() { pickIndexStale_ = true; }
    void setSurface(int width, int height) {
        width_ = width;
        height_ = height;
    }
    void setBackground(StoredColour colour) { background_ = colour; }

    NavigationModes modes;
    std::array<double, 4> PlaneNormal{0, 0, 0, 0};  // elements 1..3: the hiding plane's normal
    NavigationState state;
    NavigationHooks& hooks() { return hooks_; }

    // The event sequence of the drawing widget.
    NavigationOutcome press(const PointerInput& input);
    NavigationOutcome move(const PointerInput& input);
    NavigationOutcome release(const PointerInput& input);
    NavigationOutcome doubleClickPress(const PointerInput& input);
    NavigationOutcome keyDown(const KeyInput& key);
    NavigationOutcome keyUp(const KeyInput& key);
    // One wheel event of `delta` units (120 a notch; positive = forward): forward zooms in by
    // 1/0.7 about the last mouse position, backward out by 0.7 about the centre. Each event of a
    // notch or more is one step, whatever its size; smaller deltas add up to a notch.
    NavigationOutcome wheel(int delta);
    // The same decision without the zoom, for a window that runs its own ZoomIn (about the
    // last mouse position, ZoomAtMouse) and ZoomOut.
    WheelStep wheelStep(int delta);

    // The single handlers, also called directly (the flag layout calls the click).
    void mouseDown(int button, int shift, float x, float y, NavigationOutcome& out);
    void mouseMove(int buttons, int shift, float x, float y, NavigationOutcome& out);
    void mouseUp(int button, int shift, float x, float y, NavigationOutcome& out);
    void click(NavigationOutcome& out);
    void doubleClick(NavigationOutcome& out);

    // Search_Point_Index over this window's scene.
    std::int32_t searchPoint(float x, float y, std::int32_t index);

  private:
    bool lastPressWasRightOrMiddle() const {
        return state.lastPressFromMouse &&
               (state.MouseButton == mouse::Right || state.MouseButton == mouse::Middle);
    }
    void store(NavigationOutcome& out);
    void reproject();
    void lineStep(NavigationOutcome& out);
    void rotateByDrag(float dx, float dy);
    void setBand(const RubberBand& band, NavigationOutcome& out);
    double angle(int k) const;
    void ensureAngles();

    ScreenProperties& view_;
    NavigationHooks hooks_;
    const PointCloud* cloud_ = nullptr;
    const ViewArrays* arrays_ = nullptr;
    std::int32_t identicalCount_ = 0;
    PickIndex pickIndex_;
    bool pickIndexStale_ = true;
    int width_ = 0, height_ = 0;
    StoredColour background_ = storedColour(255, 255, 255);
};

// The eight status-bar panels for hovered row k: name, x, y, z, dx, dy, dz (lengths times
// lengthFactor in lengthFormat) and "index k"; for k = 0 "no Pt Id." and seven empty panels.
std::array<std::string, 8> hoverPanelTexts(const PointCloud& cloud, std::int32_t k, double lengthFactor,
                                           const std::string& lengthFormat);

}  // namespace kal
