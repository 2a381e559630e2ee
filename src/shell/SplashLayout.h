#pragma once
// The splash window's layout, in twips (1/1440 inch): the picture takes two thirds of a screen
// narrower than 20000 twips and half of a wider one, keeping its aspect ratio; the strip below it
// and the window follow from the picture; the window stands centred, 400 twips above the middle.
#include <string>

namespace kal {

struct TwipsRect {
    double left = 0, top = 0, width = 0, height = 0;
};

struct SplashLayout {
    TwipsRect window;        // on the screen
    TwipsRect pictureLeft;   // the picture, within the window
    TwipsRect pictureRight;  // the strip below it, within the window
    double textTop = 0;      // the version text's top edge, within the window
};

inline constexpr int kSplashMilliseconds = 4000;

// screenWidth, screenHeight: the screen in twips; pictureWidth, pictureHeight: the picture's own
// size in twips.
SplashLayout splashLayout(double screenWidth, double screenHeight, double pictureWidth, double pictureHeight);

// "You are running Version 2.0.63" and a line break.
std::string splashText();

}  // namespace kal
