#include "view3d/OverlayInputs.h"

#include <cmath>
#include <memory>

#include "engine/TransformModel.h"
#include "shared/Errors.h"

namespace kal {

PointMapper mcsToOcsMapper(const JobState& job) {
    std::shared_ptr<const PointTransform> model;
    try {
        model = std::make_shared<const PointTransform>(job);
    } catch (const std::exception& e) {
        const std::string why = e.what();
        return [why](double, double, double, double&, double&, double&) { throw NumericError(why); };
    }
    return [model](double x, double y, double z, double& xo, double& yo, double& zo) {
        model->apply(x, y, z, xo, yo, zo);
    };
}

void addSegment(DisplayList& list, const PixelPoint& from, const PixelPoint& to, std::int32_t penWidth,
                StoredColour colour, PenStyle style) {
    if (!std::isfinite(from.x) || !std::isfinite(from.y) || !std::isfinite(to.x) || !std::isfinite(to.y))
        return;
    list.add(Segment{from, to, penWidth, colour, style});
}

}  // namespace kal

namespace kal {

double overlayLengthFactor(double lengthFactor) {
    return lengthFactor > 0 && std::isfinite(lengthFactor) ? lengthFactor : 1.0;
}

}  // namespace kal
