#pragma once
// The redraw's label stage over a window's redraw context (SetLabelToPos as RedrawStages'
// nameLabel hook): the rules of TextLabels.h applied to the labels a redraw puts on top.
#include <string>

#include "view3d/RedrawStages.h"

namespace kal {

// Places `text` with its top-left corner at (x, y) of the surface being drawn, unless the
// position lies right of or below it (or is not finite); counts it in ctx.FlagLabelCount.
void placeRedrawLabel(RedrawContext& ctx, const std::string& text, float x, float y);

}  // namespace kal
