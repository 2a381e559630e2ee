#include "platform/qt/QtTextMetrics.h"

#include <QFontMetrics>
#include <QString>

namespace kal::platform {

QFont QtTextMetrics::qtFont(const TextFont& font) const {
    QFont f = windowFont_;
    if (!font.name.empty()) f.setFamily(QString::fromStdString(font.name));
    if (font.size >= 1) f.setPointSizeF(font.size);
    if (font.bold) f.setBold(true);
    if (font.italic) f.setItalic(true);
    return f;
}

TextSize QtTextMetrics::measure(const std::string& text, const TextFont& font) const {
    if (!last_ || !(font == lastFont_)) {
        last_.emplace(qtFont(font));
        lastFont_ = font;
    }
    return {last_->horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))),
            last_->height()};
}

}  // namespace kal::platform
