#include "annotation/ColouringHooks.h"

#include <map>
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
    // One cache per cloud, so windows sharing the hooks keep their own results. A cache that
    // meets another cloud at a reused address still checks settings and data before reusing.
    auto caches = std::make_shared<std::map<const PointCloud*, ToleranceClassCache>>();
    CloudColouring colouring;
    colouring.classify = [caches](PointCloud& cloud, ScreenProperties& view, const JobState& job) {
        if (caches->size() > 64 && !caches->count(&cloud)) caches->clear();  // windows long closed
        (*caches)[&cloud].classify(cloud, job, view);
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
