#include "view3d/ui/DisplayListPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>

#include "platform/qt/QtTextMetrics.h"
#include "view3d/DisplayListRaster.h"

namespace kal {

QColor qtColour(StoredColour colour) {
    const auto c = static_cast<std::uint32_t>(colour);
    return QColor(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu),
                  static_cast<int>((c >> 16) & 0xFFu));
}

namespace {

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

QImage pictureOf(ImageBuffer& pixels) {
    return QImage(reinterpret_cast<uchar*>(pixels.data()), pixels.width(), pixels.height(),
                  static_cast<qsizetype>(pixels.width()) * 4, QImage::Format_RGB32);
}

void paintDisplayList(const DisplayList& list, ImageBuffer& pixels, const QFont& labelFont) {
    if (pixels.width() <= 0 || pixels.height() <= 0) return;
    pixels.fill(ImageBuffer::toPixel(list.background));
    QImage picture = pictureOf(pixels);
    // The painter draws into the same memory at once, so the list's order holds.
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(labelFont);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::NoBrush);
    PenCache pens(painter);
    const platform::QtTextMetrics labelFonts(labelFont);
    platform::TextFont currentFont;  // the label font itself
    for (const Primitive& item : list.items) {
        if (std::holds_alternative<PixelSquare>(item) || std::holds_alternative<Segment>(item)) {
            rasterise(item, pixels);
        } else if (const auto* c = std::get_if<Circle>(&item)) {
            c->penWidth > 0 ? pens.pen(c->outline, c->penWidth) : pens.noPen();
            pens.brush(c->filled, c->fill);
            painter.drawEllipse(QPointF(c->centre.x, c->centre.y), c->radius, c->radius);
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
            if (t->font != currentFont) {
                currentFont = t->font;
                painter.setFont(labelFonts.qtFont(currentFont));
            }
            const QFontMetrics metrics(painter.font());
            const int width = metrics.horizontalAdvance(text), height = metrics.height();
            const PixelPoint origin = textOrigin(*t, width, height);
            const QRectF box(origin.x, origin.y, width, height);
            if (t->opaque) painter.fillRect(box, qtColour(t->background));
            pens.pen(t->colour, 1);
            const bool inCell = t->cellWidth > 0 && t->cellHeight > 0;
            if (inCell) {
                // A text wider than its cell is cut at the cell's edges, never drawn over the
                // neighbouring cells.
                painter.save();
                painter.setClipRect(QRectF(t->at.x, t->at.y, t->cellWidth, t->cellHeight));
            }
            painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
            if (inCell) painter.restore();
        }
    }
}

}  // namespace kal
