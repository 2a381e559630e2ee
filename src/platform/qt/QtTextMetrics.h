#pragma once
// Text sizes from Qt's font metrics, for the core stages that place labels and flags. A font
// without a name or size takes the window's font for what it leaves out.
#include <QFont>
#include <QFontMetrics>
#include <optional>

#include "platform/TextMetrics.h"

namespace kal::platform {

class QtTextMetrics : public TextMetrics {
  public:
    explicit QtTextMetrics(const QFont& windowFont = QFont()) : windowFont_(windowFont) {}
    void setWindowFont(const QFont& font) {
        if (font == windowFont_) return;
        windowFont_ = font;
        last_.reset();
    }

    TextSize measure(const std::string& text, const TextFont& font) const override;

    // The QFont a TextFont names, on the window's font.
    QFont qtFont(const TextFont& font) const;

  private:
    QFont windowFont_;
    // The metrics of the font measured last. A flag measures its cells in one or two fonts, and
    // a layout run fills thousands of flags: building the metrics once per font, not once per
    // text, takes most of the cost out of a measure.
    mutable std::optional<QFontMetrics> last_;
    mutable TextFont lastFont_;
};

}  // namespace kal::platform
