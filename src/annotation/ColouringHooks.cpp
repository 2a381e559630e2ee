#include "annotation/ColouringHooks.h"

#include <memory>

#include "annotation/ClassColours.h"
#include "annotation/LimitBoxes.h"
#include "annotation/ToleranceClasses.h"
#include "view3d/RedrawPipeline.h"

namespace kal {

namespace {
bool isOn(const std::function<bool()>& f) { return f && f(); }
}  // namespace

CloudColouring toleranceColouring(std::function<bool()> twoColour) {
    auto cache = std::make_shared<ToleranceClassCache>();
    CloudColouring colouring;
    colouring.classify = [cache](PointCloud& cloud, ScreenProperties& view, const JobState& job) {
        cache->classify(cloud, job, view);
    };
    colouring.colour = [twoColour = std::move(twoColour)](PointCloud& cloud, const ScreenProperties& view,
                                                          const JobState&) {
        colourRows(cloud, classColourSettings(view, isOn(twoColour)));
    };
    return colouring;
}

std::function<void(RedrawContext&)> colourBarStage(std::function<bool()> twoColour) {
    return [twoColour = std::move(twoColour)](RedrawContext& ctx) {
        const double lengthFactor = ctx.job.LengthFactor > 0 ? ctx.job.LengthFactor : 1.0;
        drawColourBar(ctx.out, ctx.inputs.surface.width, ctx.inputs.surface.height,
                      classColourSettings(ctx.view, isOn(twoColour)),
                      ColourBarLabels{ctx.view.Min, ctx.view.Max, lengthFactor, limitDecimals(lengthFactor)});
    };
}

}  // namespace kal
