#include "shell/SplashLayout.h"

#include "shared/Version.h"

namespace kal {

SplashLayout splashLayout(double screenWidth, double screenHeight, double pictureWidth,
                          double pictureHeight) {
    SplashLayout l;
    if (!(pictureWidth > 0) || !(pictureHeight > 0)) return l;
    // The factor is a single-precision value, as the layout has always computed it.
    const float f = screenWidth < 20000 ? static_cast<float>(screenWidth / 3 / pictureWidth * 2)
                                        : static_cast<float>(screenWidth / 3 / pictureWidth * 1.5);
    l.pictureLeft = {0, 0, pictureWidth * f, pictureHeight * f};
    l.pictureRight.width = l.pictureLeft.width / 1.2;
    l.pictureRight.height = l.pictureLeft.height / 6.5;
    l.pictureRight.left = (l.pictureLeft.width - l.pictureRight.width) / 2;
    l.pictureRight.top = l.pictureLeft.top + l.pictureLeft.height;
    l.window.width = l.pictureLeft.width;
    l.window.height = l.pictureRight.height + l.pictureLeft.height;
    l.textTop = l.pictureLeft.top + l.pictureLeft.height / 10;
    l.window.left = screenWidth / 2 - l.window.width / 2;
    l.window.top = screenHeight / 2 - l.window.height / 2 - 400;
    return l;
}

std::string splashText() { return "You are running Version " + versionText() + "\r\n"; }

}  // namespace kal
