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
    l.image1 = {0, 0, pictureWidth * f, pictureHeight * f};
    l.image2.width = l.image1.width / 1.2;
    l.image2.height = l.image1.height / 6.5;
    l.image2.left = (l.image1.width - l.image2.width) / 2;
    l.image2.top = l.image1.top + l.image1.height;
    l.window.width = l.image1.width;
    l.window.height = l.image2.height + l.image1.height;
    l.textTop = l.image1.top + l.image1.height / 10;
    l.window.left = screenWidth / 2 - l.window.width / 2;
    l.window.top = screenHeight / 2 - l.window.height / 2 - 400;
    return l;
}

std::string splashText() { return "You are running Version " + versionText() + "\r\n"; }

}  // namespace kal
