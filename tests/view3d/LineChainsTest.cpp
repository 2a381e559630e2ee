#include <gtest/gtest.h>

#include "PickingFixture.h"
#include "view3d/LineChains.h"

namespace kal {
namespace {

std::vector<std::pair<int, int>> segments(const ScreenProperties& view) {
    std::vector<std::pair<int, int>> out;
    for (std::int32_t k = 1; k <= view.LineCount; ++k)
        out.emplace_back(static_cast<int>(view.Lines(1, k)), static_cast<int>(view.Lines(2, k)));
    return out;
}

TEST(LineChains, ClicksChainSegmentsAndADoubleClickStartsANewChain) {
    ScreenProperties view;
    addLineStep(view, 1);  // A
    addLineStep(view, 2);  // B
    addLineStep(view, 3);  // C
    EXPECT_EQ(segments(view), (std::vector<std::pair<int, int>>{{1, 2}, {2, 3}}));
    endLineChain(view);
    addLineStep(view, 4);  // D opens a new chain: no C–D
    EXPECT_EQ(view.LineCount, 2);
    EXPECT_EQ(view.LineStartPoint, 4);
    addLineStep(view, 5);
    EXPECT_EQ(segments(view), (std::vector<std::pair<int, int>>{{1, 2}, {2, 3}, {4, 5}}));
    EXPECT_EQ(view.Lines.rows(), 2);
    EXPECT_EQ(view.Lines.cols(), 3);
}

TEST(LineChains, ClickBeforeAnyPickAddsNoSegmentEndingNowhere) {
    ScreenProperties view;
    addLineStep(view, 0);
    EXPECT_EQ(view.LineStartPoint, 0);
    addLineStep(view, 3);
    addLineStep(view, 0);
    EXPECT_EQ(view.LineCount, 0);
    EXPECT_EQ(view.LineStartPoint, 3);
}

TEST(LineChains, DeleteKeepsTheMarkOnTheSegmentThatMovedUp) {
    struct Case {
        std::int32_t selected, expectedSelected;
        std::vector<std::pair<int, int>> left;
    };
    const std::vector<Case> cases = {
        {1, 1, {{2, 3}, {3, 4}}},
        {2, 1, {{1, 2}, {3, 4}}},
        {3, 2, {{1, 2}, {2, 3}}},
    };
    for (const auto& c : cases) {
        ScreenProperties view;
        for (int row : {1, 2, 3, 4}) addLineStep(view, row);
        std::int32_t selected = c.selected;
        ASSERT_TRUE(deleteSelectedLine(view, selected));
        EXPECT_EQ(selected, c.expectedSelected) << c.selected;
        EXPECT_EQ(segments(view), c.left) << c.selected;
        EXPECT_EQ(view.Lines.cols(), 2);
    }
}

TEST(LineChains, DeleteRefusesWithoutSegmentsOrMark) {
    ScreenProperties view;
    std::int32_t selected = 1;
    EXPECT_FALSE(deleteSelectedLine(view, selected));
    addLineStep(view, 1);
    addLineStep(view, 2);
    selected = 0;
    EXPECT_FALSE(deleteSelectedLine(view, selected));
    selected = 5;
    EXPECT_FALSE(deleteSelectedLine(view, selected));
    EXPECT_EQ(view.LineCount, 1);
}

TEST(LineChains, HoverMarksTheFirstSegmentWithinFifteenPixelsAndAFootInside) {
    test::PixelScene scene({{0, 0}, {100, 0}, {0, 10}, {100, 10}, {50, 50}, {50, 50}});
    ScreenProperties view;
    addLineStep(view, 1);
    addLineStep(view, 2);  // segment 1: y = 0
    endLineChain(view);
    addLineStep(view, 3);
    addLineStep(view, 4);  // segment 2: y = 10
    endLineChain(view);
    addLineStep(view, 5);
    addLineStep(view, 6);                                          // segment 3: zero length
    EXPECT_EQ(segmentUnderMouse(view, scene.arrays, 50, 8), 1);    // both within 15: the lower number
    EXPECT_EQ(segmentUnderMouse(view, scene.arrays, 50, 20), 2);   // 20 from 1, 10 from 2
    EXPECT_EQ(segmentUnderMouse(view, scene.arrays, 50, 30), 0);   // too far from both
    EXPECT_EQ(segmentUnderMouse(view, scene.arrays, 105, 0), 0);   // on the extension
    EXPECT_EQ(segmentUnderMouse(view, scene.arrays, 50, 50), 0);   // zero length never marked
    EXPECT_EQ(segmentUnderMouse(view, scene.arrays, 0.5f, 0), 1);  // collinear, just inside
}

TEST(LineChains, SegmentsOutsideThePixelArraysAreSkipped) {
    test::PixelScene scene({{0, 0}, {100, 0}});
    ScreenProperties view;
    view.Lines.resize(2, 2);
    view.LineCount = 2;
    view.Lines(1, 1) = 1;
    view.Lines(2, 1) = 9;  // a view stored with another point count
    view.Lines(1, 2) = 1;
    view.Lines(2, 2) = 2;
    EXPECT_EQ(segmentUnderMouse(view, scene.arrays, 50, 0), 2);
}

}  // namespace
}  // namespace kal
