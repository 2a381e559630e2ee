#include <gtest/gtest.h>

#include "shell/WindowCapture.h"

namespace kal {
namespace {

TEST(CaptureFormClientRect, LeavesThreePixelsLeftAndTopTwoRightAndBottom) {
    EXPECT_EQ(captureFormClientRect(100, 80), (PixelRect{3, 3, 95, 75}));
    EXPECT_EQ(captureFormClientRect(6, 6), (PixelRect{3, 3, 1, 1}));
}

TEST(CaptureFormClientRect, TooSmallAWindowGivesNoPictureRatherThanANegativeSize) {
    EXPECT_EQ(captureFormClientRect(5, 100), std::nullopt);
    EXPECT_EQ(captureFormClientRect(4, 80), std::nullopt);
    EXPECT_EQ(captureFormClientRect(0, 0), std::nullopt);
    EXPECT_EQ(captureFormClientRect(100, 5), std::nullopt);
}

}  // namespace
}  // namespace kal
