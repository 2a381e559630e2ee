#pragma once
// The fixed view steps of a graphics window (ZoomIn, ZoomOut, TopView, SideView, FrontView,
// IsoView, Vec_Maßstab_longer, Vec_Maßstab_shorter): zoom by a constant factor about a pixel,
// the four standard view directions, and the vector scale ×/÷ 1.5 within its limits. Each step
// ends with the window's redraw and one store into its undo ring.
//
// Zoom, offsets and the vector scale are single precision, as the view record keeps them; every
// result is rounded to single when stored.
#include "view3d/ScreenModel.h"

namespace kal {

inline constexpr double kZoomStep = 0.7;  // ZoomOut multiplies by it, ZoomIn divides by it
// Every zoom keeps Massstab (pixels per millimetre) inside this range: about 249 zoom-ins would
// otherwise overflow single precision, and the overlays cannot draw an infinite scale.
inline constexpr double kMinMassstab = 1e-9;
inline constexpr double kMaxMassstab = 1e9;

inline constexpr float kLongestVectorScale = 1e7f;
inline constexpr float kShortestVectorScale = 1e-30f;
inline constexpr const char* kVectorsTooLongMessage = "Vectors can not be made longer";
inline constexpr const char* kVectorsTooShortMessage = "Vectors can not be made smaller";

// Scales the zoom by `factor` about the pixel (cx, cy) (cy a row counted from the top of a
// surface `height` pixels high), keeping the world point under it in place. The factor is
// reduced so that Massstab stays inside [kMinMassstab, kMaxMassstab]; a zoom that is already not
// positive and finite is left alone. Returns the factor applied (1 when nothing changed).
double zoomAbout(ScreenProperties& view, double cx, double cy, int height, double factor);

// (ZoomIn) Zooms in by 1/0.7 about the last mouse position when ZoomAtMouse is set (and clears
// it), else about the surface centre; redraws; stores.
void zoomIn(ScreenModel& screen, GraphicsSession& session, const ScreenActions& actions);
// (ZoomOut) Zooms out by 0.7 about the surface centre; ZoomAtMouse is neither read nor cleared.
void zoomOut(ScreenModel& screen, const ScreenActions& actions);

enum class StandardView { Top, Side, Front, Iso };

struct ViewAngleTriple {
    double a1 = 0, a2 = 0, a3 = 0;  // ViewAngles (1, 1..3), radians
};

// The angles of a standard view: Top (−180°, 0, 0), Side (270°, 0, 0), Front (270°, 270°, 0),
// Iso (210°, −50°, −50°), with 3.14159265358979 as π.
ViewAngleTriple standardViewAngles(StandardView which);

// (TopView, SideView, FrontView, IsoView) Sets the angles, projects, redraws and stores. Zoom and
// offsets stay; the picture is not fitted to the window.
void showStandardView(ScreenModel& screen, StandardView which, const ScreenActions& actions);

// The vector scale × 1.5 ("longer") or ÷ 1.5 ("shorter") with its strict limits (10^7 and
// 10^-30 are still accepted). Past a limit the message box is shown and the scale goes back.
// Returns false when the limit was hit.
bool scaleVectorsLonger(ScreenProperties& view, platform::Prompter* prompter);
bool scaleVectorsShorter(ScreenProperties& view, platform::Prompter* prompter);

// (Vec_Maßstab_longer, Vec_Maßstab_shorter) The step above, then a redraw only while a graphics
// window is active, and a store in every case.
void makeVectorsLonger(ScreenModel& screen, const GraphicsSession& session, const ScreenActions& actions);
void makeVectorsShorter(ScreenModel& screen, const GraphicsSession& session, const ScreenActions& actions);

}  // namespace kal
