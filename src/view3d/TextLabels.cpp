#include "view3d/TextLabels.h"

#include <cmath>

namespace kal {

StoredColour labelTextColour(StoredColour background) {
    return background == storedColour(255, 255, 255) ? kLabelTextOnWhite : kLabelTextOnOther;
}

void LabelLayer::setSurface(std::int32_t width, std::int32_t height, StoredColour background) {
    width_ = width;
    height_ = height;
    background_ = background;
}

bool LabelLayer::setLabelToPos(const std::string& text, float posx, float posy) {
    if (!std::isfinite(posx) || !std::isfinite(posy)) return false;
    if (posx > static_cast<float>(width_) || posy > static_cast<float>(height_)) return false;
    PlacedLabel placed;
    placed.index = count() + 1;
    placed.label.at = {posx, posy};
    placed.label.text = text;
    placed.label.colour = labelTextColour(background_);
    placed.label.opaque = false;
    if (metrics_) placed.size = metrics_->measure(text, font_);
    labels_.push_back(std::move(placed));
    return true;
}

void LabelLayer::appendTo(DisplayList& picture) const {
    for (const auto& placed : labels_) picture.add(placed.label);
}

}  // namespace kal
