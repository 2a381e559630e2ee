#include <gtest/gtest.h>

#include "shell/SplashLayout.h"

namespace kal {
namespace {

TEST(SplashLayout, PictureTakesTwoThirdsOfANarrowScreenAndHalfOfAWideOne) {
    struct Case {
        double screenWidth, share;
    };
    const Case cases[] = {{19200, 2.0 / 3}, {19999, 2.0 / 3}, {20000, 0.5}, {28800, 0.5}};
    for (const auto& c : cases) {
        const SplashLayout l = splashLayout(c.screenWidth, 12000, 6000, 4000);
        EXPECT_NEAR(l.pictureLeft.width, c.screenWidth * c.share, 0.01) << c.screenWidth;
        EXPECT_NEAR(l.pictureLeft.height / l.pictureLeft.width, 4000.0 / 6000.0, 1e-6);
        EXPECT_DOUBLE_EQ(l.window.width, l.pictureLeft.width);
        EXPECT_DOUBLE_EQ(l.window.height, l.pictureLeft.height + l.pictureLeft.height / 6.5);
        EXPECT_DOUBLE_EQ(l.pictureRight.width, l.pictureLeft.width / 1.2);
        EXPECT_DOUBLE_EQ(l.textTop, l.pictureLeft.height / 10);
        EXPECT_DOUBLE_EQ(l.window.left, c.screenWidth / 2 - l.window.width / 2);
        EXPECT_DOUBLE_EQ(l.window.top, 6000 - l.window.height / 2 - 400);
    }
}

TEST(SplashLayout, VersionText) { EXPECT_EQ(splashText(), "You are running Version 2.0.63\r\n"); }

}  // namespace
}  // namespace kal
