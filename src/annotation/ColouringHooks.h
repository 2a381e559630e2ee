#pragma once
// The tolerance classes, class colours and colour bar of a graphics window in the shape the cloud
// build and the redraw call them (CloudColouring and RedrawStages::colourBar).
//
// The hooks keep a class cache per point cloud (per window), so a redraw that changed neither
// the window's settings nor the data does not recompute the classes. `twoColour` tells whether two-colour
// mode is on (the colour-bar dialog's entry is checked and its "Binär Mode" box ticked); empty means off.
#include <functional>

#include "view3d/RedrawStages.h"

namespace kal {

CloudColouring toleranceColouring(std::function<bool()> twoColour = {});

// Zeichne_ColorBar as a redraw stage: the bar at the right edge of the surface with the window's
// limits in the display unit (decimals per unit, 0.01 mm resolution).
std::function<void(RedrawContext&)> colourBarStage(std::function<bool()> twoColour = {});

}  // namespace kal
