#pragma once
// The font and colour dialogs. Colours are RGB triples packed as R + 256 G + 65536 B.
#include <cstdint>
#include <optional>
#include <string>

namespace kal::platform {

struct FontChoice {
    std::string name;
    float size = 0;  // points; below 1 means "not set" (the dialog shows its default)
    bool bold = false, italic = false, strikethrough = false, underline = false;
};

class FontDialogs {
  public:
    virtual ~FontDialogs() = default;
    // Offers only existing fonts, sizes up to `maxSize`. nullopt when cancelled.
    virtual std::optional<FontChoice> chooseFont(const FontChoice& initial, int maxSize) = 0;
    // nullopt when cancelled.
    virtual std::optional<std::int32_t> chooseColor(std::int32_t initial) = 0;
};

}  // namespace kal::platform
