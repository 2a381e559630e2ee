#include "view3d/ScreenStages.h"

namespace kal {

RedrawStages screenStages(ScreenModel& screen, const RedrawStages& hooks) {
    RedrawStages s;
    s.nameLabel = [](RedrawContext& ctx, const std::string& name, float x, float y) {
        placeCaptionLabel(ctx, name, x, y);
    };
    if (hooks.nameLabel) s.nameLabel = hooks.nameLabel;
    // The axis and quaternion captions are placed as the point names are.
    plugOverlayStages(s, screen.overlays, s.nameLabel);
    auto take = [](auto& mine, const auto& theirs) {
        if (theirs) mine = theirs;
    };
    take(s.hidingPlane, hooks.hidingPlane);
    take(s.nameLabel, hooks.nameLabel);
    take(s.flagVisibility, hooks.flagVisibility);
    take(s.flagLeader, hooks.flagLeader);
    take(s.grids, hooks.grids);
    take(s.quaternionAxis, hooks.quaternionAxis);
    take(s.colourBar, hooks.colourBar);
    take(s.axes, hooks.axes);
    take(s.scaleBars, hooks.scaleBars);
    return s;
}

}  // namespace kal
