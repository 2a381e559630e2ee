#include "platform/qt/QtFontDialogs.h"

#include <QColorDialog>
#include <QFontDialog>

namespace kal::platform {

std::optional<FontChoice> QtFontDialogs::chooseFont(const FontChoice& initial, int maxSize) {
    QFont font(QString::fromStdString(initial.name));
    if (initial.size >= 1) font.setPointSizeF(initial.size);
    font.setBold(initial.bold);
    font.setItalic(initial.italic);
    font.setStrikeOut(initial.strikethrough);
    font.setUnderline(initial.underline);
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, font, parent_);
    if (!ok) return std::nullopt;
    FontChoice out;
    out.name = chosen.family().toStdString();
    out.size = static_cast<float>(std::min<qreal>(chosen.pointSizeF(), maxSize));
    out.bold = chosen.bold();
    out.italic = chosen.italic();
    out.strikethrough = chosen.strikeOut();
    out.underline = chosen.underline();
    return out;
}

std::optional<std::int32_t> QtFontDialogs::chooseColor(std::int32_t initial) {
    QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    QColor chosen = QColorDialog::getColor(start, parent_);
    if (!chosen.isValid()) return std::nullopt;
    return chosen.red() + 256 * chosen.green() + 65536 * chosen.blue();
}

}  // namespace kal::platform
