#pragma once
// Sizes of text as the window would draw it, for the core stages that place labels, flags and
// captions. The window answers through Qt's font metrics; tests use a fixed-width fake.
#include <string>

namespace kal::platform {

struct TextFont {
    std::string name;  // empty: the window's own font
    float size = 0;    // points; below 1: the window's own size
    bool bold = false;
    bool italic = false;
    bool operator==(const TextFont&) const = default;
};

struct TextSize {
    int width = 0;
    int height = 0;
    bool operator==(const TextSize&) const = default;
};

class TextMetrics {
  public:
    virtual ~TextMetrics() = default;
    // Width and line height in pixels of one line of UTF-8 text.
    virtual TextSize measure(const std::string& text, const TextFont& font) const = 0;
};

}  // namespace kal::platform
