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
    const QFontMetrics metrics(qtFont(font));
    return {metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))),
            metrics.height()};
}

}  // namespace kal::platform
