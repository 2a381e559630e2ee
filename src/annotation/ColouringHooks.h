#pragma once
// The tolerance classes, class colours and colour bar of a graphics window in the shape the cloud
// build and the redraw call them (CloudColouring and RedrawStages::colourBar).
//
// Each call of toleranceColouring() makes the hooks of one window: they share that window's
// class cache, so a redraw that changed neither settings nor data does not recompute the
// classes. `twoColour` tells whether two-colour mode is on (the colour-bar dialog's entry is
// checked and its "Binär Mode" box ticked); empty means off.
#include <functional>

#include "view3d/RedrawStages.h"

namespace kal {

CloudColouring toleranceColouring(std::function<bool()> twoColour = {});

// Zeichne_ColorBar as a redraw stage: the bar at the right edge of the surface with the window's
// limits in the display unit (decimals per unit, 0.01 mm resolution).
std::function<void(RedrawContext&)> colourBarStage(std::function<bool()> twoColour = {});

}  // namespace kal
