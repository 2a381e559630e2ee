#pragma once
// The font flow of the common dialogs: a control's font and text colour into a font dialog and
// a colour dialog, and back. The platform's font dialog has no colour, so the colour is a second
// dialog; a cancel of either leaves the target as it was.
#include <cstdint>
#include <string>

#include "platform/FontDialogs.h"

namespace kal {

// What the font flow reads and writes of a control (a label, a flag layout). Charset and Weight
// belong to the target but are never copied from the dialog.
struct FontTarget {
    std::string Name;
    float Size = 0;
    bool Bold = false, Italic = false, Strikethrough = false, Underline = false;
    std::int16_t Charset = 0;
    float Weight = 0;
    std::int32_t Forecolor = 0;
};

inline constexpr int kLargestFontSize = 128;

// The dialog's start values from the target (FontToDialog).
platform::FontChoice fontToDialog(const FontTarget& target);
// The dialog's values into the target: name, size (a size below 1 is ignored, one above 128 is
// 128), bold, italic, strikethrough, underline, and the colour (FontFromDialog).
void fontFromDialog(const platform::FontChoice& chosen, std::int32_t color, FontTarget& target);

// Both dialogs in turn; the target changes only when both were confirmed (ShowFontDialog).
void showFontDialog(platform::FontDialogs& dialogs, FontTarget& target);

}  // namespace kal
