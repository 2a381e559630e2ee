#pragma once
// The text labels of a graphics window's redraw (SetLabelToPos, FlagLabelCount): point names,
// axis labels, the quaternion label, the colour bar's limits and the credit line of a copied
// picture. Each is drawn text, not a control: the labels placed during a redraw are kept in a
// list, numbered from 1, and appended to the picture after every other item so that they stand
// on top. The next redraw starts the list again.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/TextMetrics.h"
#include "shared/ImageBuffer.h"
#include "view3d/DisplayList.h"

namespace kal {

inline constexpr StoredColour kLabelTextOnWhite = storedColour(0, 0, 0);
inline constexpr StoredColour kLabelTextOnOther = storedColour(192, 192, 192);

// Black on a background of exactly white (255, 255, 255), else light grey (black included).
StoredColour labelTextColour(StoredColour background);

struct PlacedLabel {
    std::int32_t index = 0;   // 1..count in the order placed
    TextLabel label;          // transparent text, top-left corner at the position given
    platform::TextSize size;  // the text's box in the label font (0 × 0 without metrics)
    bool operator==(const PlacedLabel&) const = default;
};

class LabelLayer {
  public:
    // `metrics` measures the labels' boxes; it may be null.
    explicit LabelLayer(const platform::TextMetrics* metrics = nullptr) : metrics_(metrics) {}

    // The drawing surface the labels go on: its size in pixels and its background colour.
    void setSurface(std::int32_t width, std::int32_t height, StoredColour background);
    // The font new labels take (the label template's font, a shared setting).
    void setFont(const platform::TextFont& font) { font_ = font; }
    const platform::TextFont& font() const { return font_; }

    // The redraw's label stage: every label goes, FlagLabelCount := 0.
    void clear() { labels_.clear(); }

    // (SetLabelToPos) Places `text` with its top-left corner at the pixel (posx, posy). A position
    // right of or below the surface (beyond its width or height) places nothing and counts
    // nothing; one left of or above it is placed. A non-finite position places nothing either.
    // True when the label was placed.
    bool setLabelToPos(const std::string& text, float posx, float posy);

    // FlagLabelCount: the labels placed since the last clear.
    std::int32_t count() const { return static_cast<std::int32_t>(labels_.size()); }
    const std::vector<PlacedLabel>& labels() const { return labels_; }

    // Appends the labels, in their order, to the end of `picture` (call it last in a redraw).
    void appendTo(DisplayList& picture) const;

  private:
    const platform::TextMetrics* metrics_;
    platform::TextFont font_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    StoredColour background_ = storedColour(255, 255, 255);
    std::vector<PlacedLabel> labels_;
};

}  // namespace kal
