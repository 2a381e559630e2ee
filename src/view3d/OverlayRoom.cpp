#include "view3d/OverlayRoom.h"

#include <algorithm>

namespace kal {

OverlayBox OverlayBox::unite(const OverlayBox& o) const {
    if (o.empty()) return *this;
    if (empty()) return o;
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
            std::max(bottom, o.bottom)};
}

bool OverlayRoom::isFree(const OverlayBox& box) const {
    return std::none_of(taken_.begin(), taken_.end(), [&](const OverlayBox& t) { return t.overlaps(box); });
}

void OverlayRoom::take(const OverlayBox& box) {
    if (!box.empty()) taken_.push_back(box);
}

float OverlayRoom::freeUntil(float from, const OverlayBox& band, float limit) const {
    for (const OverlayBox& t : taken_)
        if (t.top < band.bottom && band.top < t.bottom && t.right > from) limit = std::min(limit, t.left);
    return limit;
}

}  // namespace kal
