#include "view3d/RedrawLabels.h"

#include <cmath>

#include "view3d/RedrawPipeline.h"
#include "view3d/TextLabels.h"

namespace kal {

void placeRedrawLabel(RedrawContext& ctx, const std::string& text, float x, float y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (x > static_cast<float>(ctx.inputs.surface.width) || y > static_cast<float>(ctx.inputs.surface.height))
        return;
    ctx.nameLabels.push_back(TextLabel{{x, y}, text, labelTextColour(ctx.out.background)});
    ++ctx.FlagLabelCount;
}

}  // namespace kal
