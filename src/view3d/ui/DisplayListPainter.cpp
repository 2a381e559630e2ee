#include "view3d/ui/DisplayListPainter.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>

namespace kal {

QColor qtColour(StoredColour colour) {
    const auto c = static_cast<std::uint32_t>(colour);
    return QColor(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu),
                  static_cast<int>((c >> 16) & 0xFFu));
}

namespace {

// Writes the squares into the picture's memory; the painter draws into the same memory at once,
// so the order of the list holds.
struct SquareWriter {
    uchar* bits;
    qsizetype bytesPerLine;
    int width;
    int height;

    void operator()(const PixelSquare& s) const {
        const int left = std::max(0, s.x - s.half), right = std::min(width - 1, s.x + s.half);
        const int top = std::max(0, s.y - s.half), bottom = std::min(height - 1, s.y + s.half);
        if (left > right || top > bottom) return;
        const std::uint32_t pixel = ImageBuffer::toPixel(s.colour);
        for (int y = top; y <= bottom; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(bits + y * bytesPerLine);
            std::fill(row + left, row + right + 1, pixel);
        }
    }
};

QPen penOf(StoredColour colour, int width, PenStyle style = PenStyle::Solid) {
    QPen pen(qtColour(colour));
    if (style == PenStyle::Dot) pen.setStyle(Qt::DotLine);
    if (style == PenStyle::DashDot) pen.setStyle(Qt::DashDotLine);
    pen.setWidth(std::max(1, width));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

}  // namespace

void paintDisplayList(const DisplayList& list, QImage& image, const QFont& labelFont) {
    if (image.isNull()) return;
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    image.fill(qtColour(list.background));
    // bits() before the painter starts: the painter then shares the one buffer, never a copy.
    const SquareWriter squares{image.bits(), image.bytesPerLine(), image.width(), image.height()};
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(labelFont);
    for (const Primitive& item : list.items) {
        if (const auto* s = std::get_if<PixelSquare>(&item)) {
            squares(*s);
        } else if (const auto* c = std::get_if<Circle>(&item)) {
            painter.setPen(c->penWidth > 0 ? penOf(c->outline, c->penWidth) : QPen(Qt::NoPen));
            painter.setBrush(c->filled ? QBrush(qtColour(c->fill)) : QBrush(Qt::NoBrush));
            painter.drawEllipse(QPointF(c->centre.x, c->centre.y), c->radius, c->radius);
        } else if (const auto* g = std::get_if<Segment>(&item)) {
            painter.setPen(penOf(g->colour, g->penWidth, g->style));
            painter.drawLine(QPointF(g->from.x, g->from.y), QPointF(g->to.x, g->to.y));
        } else if (const auto* p = std::get_if<Polygon>(&item)) {
            QPolygonF polygon;
            polygon.reserve(static_cast<qsizetype>(p->corners.size()));
            for (const PixelPoint& corner : p->corners) polygon << QPointF(corner.x, corner.y);
            painter.setPen(p->penWidth > 0 ? penOf(p->outline, p->penWidth) : QPen(Qt::NoPen));
            painter.setBrush(p->filled ? QBrush(qtColour(p->fill)) : QBrush(Qt::NoBrush));
            painter.drawPolygon(polygon);
        } else if (const auto* r = std::get_if<FilledRect>(&item)) {
            painter.fillRect(QRect(r->left, r->top, r->width, r->height), qtColour(r->colour));
        } else if (const auto* t = std::get_if<TextLabel>(&item)) {
            const QString text = QString::fromUtf8(t->text.data(), static_cast<qsizetype>(t->text.size()));
            const QFontMetrics metrics(labelFont);
            const QRectF box(t->at.x, t->at.y, metrics.horizontalAdvance(text), metrics.height());
            if (t->opaque) painter.fillRect(box, qtColour(t->background));
            painter.setPen(qtColour(t->colour));
            painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        }
    }
}

}  // namespace kal
