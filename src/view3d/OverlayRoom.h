#pragma once
// The room the fixed overlays of a picture take: the colour bar with its limits, the scale bars
// with their captions and the axis captions. Each is given its place in that order, and one that
// would lie on a place already taken is left out, so no overlay covers another. Point names and
// flags are not overlays: they stand where their points are.
#include <cstddef>
#include <vector>

namespace kal {

// A box in pixels of the drawing surface, right and bottom edges exclusive.
struct OverlayBox {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
    bool empty() const { return !(right > left) || !(bottom > top); }
    bool overlaps(const OverlayBox& o) const {
        return !empty() && !o.empty() && left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    // The smallest box around both (an empty one adds nothing).
    OverlayBox unite(const OverlayBox& o) const;
};

class OverlayRoom {
  public:
    bool isFree(const OverlayBox& box) const;
    void take(const OverlayBox& box);
    const std::vector<OverlayBox>& taken() const { return taken_; }
    // The left edge of the first place taken that lies right of `from` and within the rows of
    // `band`; `limit` when there is none left of it.
    float freeUntil(float from, const OverlayBox& band, float limit) const;

    // The name labels (indices into the redraw's name list) that the overlays placed as captions:
    // they keep their place only where it is free when the overlays are done.
    std::vector<std::size_t> captionLabels;

  private:
    std::vector<OverlayBox> taken_;
};

}  // namespace kal
