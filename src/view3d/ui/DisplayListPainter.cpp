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

// Sets pen and brush only when they change: a redraw's vectors mostly share one colour, and a
// pen change costs more than drawing a short line.
class PenCache {
  public:
    explicit PenCache(QPainter& painter) : painter_(painter) {}
    void pen(StoredColour colour, int width, PenStyle style = PenStyle::Solid) {
        const Pen wanted{true, colour, std::max(1, width), style};
        if (wanted == pen_) return;
        pen_ = wanted;
        QPen p(qtColour(colour));
        p.setWidth(wanted.width);
        if (style == PenStyle::Dot) p.setStyle(Qt::DotLine);
        if (style == PenStyle::DashDot) p.setStyle(Qt::DashDotLine);
        p.setCapStyle(Qt::RoundCap);
        p.setJoinStyle(Qt::RoundJoin);
        painter_.setPen(p);
    }
    void noPen() {
        if (!pen_.on) return;
        pen_ = Pen{};
        painter_.setPen(Qt::NoPen);
    }
    void brush(bool filled, StoredColour colour) {
        const Brush wanted{filled, filled ? colour : 0};
        if (wanted == brush_) return;
        brush_ = wanted;
        painter_.setBrush(filled ? QBrush(qtColour(colour)) : QBrush(Qt::NoBrush));
    }

  private:
    struct Pen {
        bool on = false;
        StoredColour colour = 0;
        int width = 0;
        PenStyle style = PenStyle::Solid;
        bool operator==(const Pen&) const = default;
    };
    struct Brush {
        bool on = false;
        StoredColour colour = 0;
        bool operator==(const Brush&) const = default;
    };
    QPainter& painter_;
    Pen pen_;
    Brush brush_;
};

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
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::NoBrush);
    PenCache pens(painter);
    for (const Primitive& item : list.items) {
        if (const auto* s = std::get_if<PixelSquare>(&item)) {
            squares(*s);
        } else if (const auto* c = std::get_if<Circle>(&item)) {
            c->penWidth > 0 ? pens.pen(c->outline, c->penWidth) : pens.noPen();
            pens.brush(c->filled, c->fill);
            painter.drawEllipse(QPointF(c->centre.x, c->centre.y), c->radius, c->radius);
        } else if (const auto* g = std::get_if<Segment>(&item)) {
            pens.pen(g->colour, g->penWidth, g->style);
            painter.drawLine(QPointF(g->from.x, g->from.y), QPointF(g->to.x, g->to.y));
        } else if (const auto* p = std::get_if<Polygon>(&item)) {
            QPolygonF polygon;
            polygon.reserve(static_cast<qsizetype>(p->corners.size()));
            for (const PixelPoint& corner : p->corners) polygon << QPointF(corner.x, corner.y);
            p->penWidth > 0 ? pens.pen(p->outline, p->penWidth) : pens.noPen();
            pens.brush(p->filled, p->fill);
            painter.drawPolygon(polygon);
        } else if (const auto* r = std::get_if<FilledRect>(&item)) {
            painter.fillRect(QRect(r->left, r->top, r->width, r->height), qtColour(r->colour));
        } else if (const auto* t = std::get_if<TextLabel>(&item)) {
            const QString text = QString::fromUtf8(t->text.data(), static_cast<qsizetype>(t->text.size()));
            const QFontMetrics metrics(labelFont);
            const QRectF box(t->at.x, t->at.y, metrics.horizontalAdvance(text), metrics.height());
            if (t->opaque) painter.fillRect(box, qtColour(t->background));
            pens.pen(t->colour, 1);
            painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
        }
    }
}

}  // namespace kal
