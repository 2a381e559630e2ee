#pragma once
// Text sizes from Qt's font metrics, for the core stages that place labels and flags. A font
// without a name or size takes the window's font for what it leaves out.
#include <QFont>

#include "platform/TextMetrics.h"

namespace kal::platform {

class QtTextMetrics : public TextMetrics {
  public:
    explicit QtTextMetrics(const QFont& windowFont = QFont()) : windowFont_(windowFont) {}
    void setWindowFont(const QFont& font) { windowFont_ = font; }

    TextSize measure(const std::string& text, const TextFont& font) const override;

    // The QFont a TextFont names, on the window's font.
    QFont qtFont(const TextFont& font) const;

  private:
    QFont windowFont_;
};

}  // namespace kal::platform
