#pragma once
// The redraw stages of the hiding plane, the grids, the quaternion axis, the coordinate axes and
// the scale bars, fitted to the redraw's RedrawStages hooks. Each reads the window's view
// record, surface, origin and projection from the redraw in progress and appends to its list.
#include <cstdint>
#include <functional>
#include <string>

#include "view3d/HidingPlane.h"
#include "view3d/McsExtents.h"
#include "view3d/RedrawStages.h"

namespace kal {

// What one graphics window keeps for these stages from one redraw to the next.
struct OverlayState {
    // The MCS box sizes the axes; it is rescanned only when `jobChange` moves, which the window
    // raises whenever the job's points change (points replaced, job reset).
    McsExtentsCache extents;
    std::uint64_t jobChange = 0;
    // Where the hiding planes lie in the present view (PlanePoint1, PlanePoint2, PlaneNormal),
    // for the navigation that moves them.
    HidingPlaneGeometry hidingPlane;
};

// SetLabelToPos, as RedrawStages::nameLabel takes it: the axis and quaternion labels go where the
// point names go, on top of every graphic.
using StageLabel = std::function<void(RedrawContext&, const std::string& text, float x, float y)>;

// A caption label as a window places it when no other placement is plugged in: refused right of
// or below the surface, black text on white and light grey on any other background, counted in
// FlagLabelCount.
void placeCaptionLabel(RedrawContext& ctx, const std::string& text, float x, float y);

void hidingPlaneStage(RedrawContext& ctx, HidingPlaneGeometry& geometry);  // Zeichne_Black_Plane + visibility
void gridStage(RedrawContext& ctx);                                        // Zeichne_KSGrid
void quaternionStage(RedrawContext& ctx, OverlayState& state, const StageLabel& label);  // Zeichne_Quat
void axesStage(RedrawContext& ctx, OverlayState& state, const StageLabel& label);        // Zeichne_Kosys
void scaleBarStage(RedrawContext& ctx);                                                  // Zeichne_Scale

// Fills stages.hidingPlane, grids, quaternionAxis, axes and scaleBars. `state` must outlive the
// stages. `label` places the axis labels; empty: placeCaptionLabel.
void plugOverlayStages(RedrawStages& stages, OverlayState& state, StageLabel label = {});

}  // namespace kal
