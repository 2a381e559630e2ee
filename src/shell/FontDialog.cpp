#include "shell/FontDialog.h"

#include <algorithm>

namespace kal {

platform::FontChoice fontToDialog(const FontTarget& target) {
    platform::FontChoice c;
    c.name = target.Name;
    c.size = target.Size >= 1 ? std::min<float>(target.Size, kLargestFontSize) : 0.0f;
    c.bold = target.Bold;
    c.italic = target.Italic;
    c.strikethrough = target.Strikethrough;
    c.underline = target.Underline;
    return c;
}

void fontFromDialog(const platform::FontChoice& chosen, std::int32_t color, FontTarget& target) {
    if (!chosen.name.empty()) target.Name = chosen.name;
    if (chosen.size >= 1) target.Size = std::min<float>(chosen.size, kLargestFontSize);
    target.Bold = chosen.bold;
    target.Italic = chosen.italic;
    target.Strikethrough = chosen.strikethrough;
    target.Underline = chosen.underline;
    target.Forecolor = color;
}

void showFontDialog(platform::FontDialogs& dialogs, FontTarget& target) {
    auto font = dialogs.chooseFont(fontToDialog(target), kLargestFontSize);
    if (!font) return;
    auto color = dialogs.chooseColor(target.Forecolor);
    if (!color) return;
    fontFromDialog(*font, *color, target);
}

}  // namespace kal
