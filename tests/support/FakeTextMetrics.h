#pragma once
// Every character 8 pixels wide, every line 16 high (scaled by the font size over 8 points when
// one is given), so tests of label and flag placement do not depend on installed fonts.
#include <string>

#include "platform/TextMetrics.h"

namespace kal {

class FakeTextMetrics : public platform::TextMetrics {
  public:
    int charWidth = 8;
    int lineHeight = 16;

    platform::TextSize measure(const std::string& text, const platform::TextFont& font) const override {
        int characters = 0;
        for (unsigned char c : text)
            if ((c & 0xC0) != 0x80) ++characters;  // count UTF-8 lead bytes only
        const double scale = font.size >= 1 ? font.size / 8.0 : 1.0;
        return {static_cast<int>(characters * charWidth * scale), static_cast<int>(lineHeight * scale)};
    }
};

}  // namespace kal
