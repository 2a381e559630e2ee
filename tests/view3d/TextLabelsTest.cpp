// The text labels of a redraw: where a label is refused, its colour on each background, its
// number, and that the labels come last in the picture.
#include <gtest/gtest.h>

#include <limits>

#include "support/FakeTextMetrics.h"
#include "view3d/TextLabels.h"

namespace kal {
namespace {

TEST(TextLabels, PositionsRightOfOrBelowThePictureAreNotPlaced) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float x, y;
        bool placed;
    } cases[] = {
        {10, 10, true},      {400, 300, true},  // the right and bottom edges themselves
        {400.5f, 10, false}, {10, 300.5f, false},
        {1e6f, 1e6f, false}, {-50, -20, true},  // left of and above: placed
        {nan, 10, false},    {10, std::numeric_limits<float>::infinity(), false},
    };
    for (const auto& c : cases) {
        LabelLayer layer;
        layer.setSurface(400, 300, storedColour(255, 255, 255));
        EXPECT_EQ(layer.setLabelToPos("P1", c.x, c.y), c.placed) << c.x << ", " << c.y;
        EXPECT_EQ(layer.count(), c.placed ? 1 : 0) << c.x << ", " << c.y;
    }
}

TEST(TextLabels, BlackOnWhiteLightGreyOnAnyOtherBackground) {
    const struct {
        StoredColour background;
        StoredColour text;
    } cases[] = {
        {storedColour(255, 255, 255), storedColour(0, 0, 0)},
        {storedColour(0, 0, 0), storedColour(192, 192, 192)},
        {storedColour(255, 255, 254), storedColour(192, 192, 192)},
        {storedColour(192, 192, 192), storedColour(192, 192, 192)},
    };
    for (const auto& c : cases) {
        LabelLayer layer;
        layer.setSurface(100, 100, c.background);
        ASSERT_TRUE(layer.setLabelToPos("x", 1, 1));
        EXPECT_EQ(layer.labels()[0].label.colour, c.text) << c.background;
        EXPECT_FALSE(layer.labels()[0].label.opaque);
    }
}

TEST(TextLabels, NumberedFromOneInEachRedrawAndDrawnLast) {
    FakeTextMetrics metrics;
    LabelLayer layer(&metrics);
    layer.setSurface(200, 100, storedColour(0, 0, 0));
    layer.setLabelToPos("x OCS", 5, 6);
    layer.setLabelToPos("y OCS", 50, 6);
    layer.setLabelToPos("calculated with", 0, 0);
    ASSERT_EQ(layer.count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(layer.labels()[static_cast<std::size_t>(i)].index, i + 1);
    EXPECT_EQ(layer.labels()[0].size, (platform::TextSize{40, 16}));
    EXPECT_EQ(layer.labels()[0].label.at, (PixelPoint{5, 6}));
    EXPECT_EQ(layer.labels()[2].label.text, "calculated with");

    DisplayList picture;
    picture.add(Segment{{0, 0}, {10, 10}, 1, 0});
    layer.appendTo(picture);
    ASSERT_EQ(picture.items.size(), 4u);
    EXPECT_TRUE(std::holds_alternative<Segment>(picture.items[0]));
    EXPECT_EQ(std::get<TextLabel>(picture.items[3]).text, "calculated with");

    layer.clear();  // the next redraw
    EXPECT_EQ(layer.count(), 0);
    layer.setLabelToPos("P9", 1, 1);
    EXPECT_EQ(layer.labels()[0].index, 1);
}

TEST(TextLabels, SizesFollowTheLabelFont) {
    FakeTextMetrics metrics;
    LabelLayer layer(&metrics);
    layer.setSurface(100, 100, 0);
    layer.setFont({"Arial", 16, true, false});
    layer.setLabelToPos("abc", 0, 0);
    EXPECT_EQ(layer.labels()[0].size, (platform::TextSize{48, 32}));
}

}  // namespace
}  // namespace kal
