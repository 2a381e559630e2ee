// The font flow: both dialogs confirmed copy font and colour; a cancel of either changes nothing;
// charset and weight are never copied; sizes below 1 are ignored and 128 is the largest.
#include <gtest/gtest.h>

#include <optional>

#include "shell/FontDialog.h"

namespace kal {
namespace {

class ScriptedFontDialogs : public platform::FontDialogs {
  public:
    std::optional<platform::FontChoice> font;
    std::optional<std::int32_t> color;
    platform::FontChoice shownWith;
    int colorDialogs = 0;

    std::optional<platform::FontChoice> chooseFont(const platform::FontChoice& initial,
                                                   int maxSize) override {
        shownWith = initial;
        EXPECT_EQ(maxSize, 128);
        return font;
    }
    std::optional<std::int32_t> chooseColor(std::int32_t) override {
        ++colorDialogs;
        return color;
    }
};

FontTarget arial() {
    FontTarget t;
    t.Name = "Arial";
    t.Size = 8.25f;
    t.Charset = 161;
    t.Weight = 400;
    t.Forecolor = 255;
    return t;
}

TEST(FontDialog, ConfirmedDialogsCopyFontAndColourButNotCharsetOrWeight) {
    ScriptedFontDialogs d;
    d.font = platform::FontChoice{"Courier New", 12.0f, true, true, false, true};
    d.color = 0x00FF00;
    FontTarget t = arial();
    showFontDialog(d, t);
    EXPECT_EQ(d.shownWith.name, "Arial");
    EXPECT_FLOAT_EQ(d.shownWith.size, 8.25f);
    EXPECT_EQ(t.Name, "Courier New");
    EXPECT_FLOAT_EQ(t.Size, 12.0f);
    EXPECT_TRUE(t.Bold && t.Italic && t.Underline && !t.Strikethrough);
    EXPECT_EQ(t.Forecolor, 0x00FF00);
    EXPECT_EQ(t.Charset, 161);
    EXPECT_FLOAT_EQ(t.Weight, 400);
}

TEST(FontDialog, ACancelOfEitherDialogLeavesTheTarget) {
    for (bool cancelFont : {true, false}) {
        ScriptedFontDialogs d;
        if (!cancelFont) d.font = platform::FontChoice{"Courier New", 12.0f};
        FontTarget t = arial();
        showFontDialog(d, t);
        EXPECT_EQ(t.Name, "Arial");
        EXPECT_EQ(t.Forecolor, 255);
        EXPECT_EQ(d.colorDialogs, cancelFont ? 0 : 1);
    }
}

TEST(FontDialog, SizesBelowOneAreIgnoredAndTheLargestIs128) {
    FontTarget t = arial();
    fontFromDialog(platform::FontChoice{"Arial", 0.0f}, 0, t);
    EXPECT_FLOAT_EQ(t.Size, 8.25f);
    fontFromDialog(platform::FontChoice{"Arial", 200.0f}, 0, t);
    EXPECT_FLOAT_EQ(t.Size, 128.0f);
    t.Size = 0.5f;
    EXPECT_EQ(fontToDialog(t).size, 0.0f);
}

}  // namespace
}  // namespace kal
