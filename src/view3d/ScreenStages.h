#pragma once
// The redraw stages every graphics window runs over its own state: the hiding plane, the grids,
// the quaternion axis, the axes, the scale bars and the point names placed as caption labels.
// A stage that another part plugs into the scene's hooks (flags, colour bar, its own labels)
// takes the place of the window's stage of the same name.
#include "view3d/RedrawStages.h"
#include "view3d/ScreenModel.h"

namespace kal {

// The window's stages with every member that `hooks` sets taken from `hooks`. The stages keep a
// reference to `screen`: use the result for one redraw only.
RedrawStages screenStages(ScreenModel& screen, const RedrawStages& hooks);

}  // namespace kal
