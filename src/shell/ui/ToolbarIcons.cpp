#include "shell/ui/ToolbarIcons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <cmath>

namespace kal {

namespace {

constexpr int kSize = 24;
const QColor kInk(40, 60, 90);
const QColor kAccent(200, 70, 50);

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& c, double width = 2) {
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
    const double h = 5;
    QPolygonF head;
    head << to << to - QPointF(h * std::cos(a - 0.5), h * std::sin(a - 0.5))
         << to - QPointF(h * std::cos(a + 0.5), h * std::sin(a + 0.5));
    p.setBrush(c);
    p.setPen(Qt::NoPen);
    p.drawPolygon(head);
}

void text(QPainter& p, const QString& t, int pixelSize, const QColor& c = kInk) {
    QFont f = QApplication::font();
    f.setBold(true);
    f.setPixelSize(pixelSize);
    p.setFont(f);
    p.setPen(c);
    p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, t);
}

void flag(QPainter& p, QPointF at, double scale) {
    p.setPen(QPen(kInk, 1.5 * scale));
    p.drawLine(at, at + QPointF(0, -16 * scale));
    QPainterPath cloth;
    cloth.moveTo(at + QPointF(0, -16 * scale));
    cloth.lineTo(at + QPointF(11 * scale, -12.5 * scale));
    cloth.lineTo(at + QPointF(0, -9 * scale));
    cloth.closeSubpath();
    p.fillPath(cloth, kAccent);
}

void lineWithPoints(QPainter& p) {
    p.setPen(QPen(kInk, 2));
    p.drawLine(QPointF(4, 18), QPointF(20, 6));
    p.setBrush(kInk);
    p.drawEllipse(QPointF(4, 18), 2.5, 2.5);
    p.drawEllipse(QPointF(20, 6), 2.5, 2.5);
}

void paint(QPainter& p, const QString& key) {
    p.setRenderHint(QPainter::Antialiasing);
    if (key == "InputFiles") {
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 3, 11, 15));
        p.drawRect(QRectF(4, 7, 11, 15));
        arrow(p, QPointF(2, 14), QPointF(12, 14), kAccent);
    } else if (key == "TrafoBerechnung") {
        text(p, QStringLiteral("\u03A3"), 19, kInk);
    } else if (key == "Graphics") {
        arrow(p, QPointF(5, 19), QPointF(5, 3), QColor(40, 160, 60));
        arrow(p, QPointF(5, 19), QPointF(21, 19), kAccent);
        arrow(p, QPointF(5, 19), QPointF(16, 9), QColor(50, 90, 200));
    } else if (key == "RotateAbout") {
        p.setPen(QPen(kInk, 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4, 4, 16, 16), 30 * 16, 280 * 16);
        arrow(p, QPointF(18, 8), QPointF(19.5, 10), kInk);
        p.setBrush(kAccent);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(12, 12), 2.5, 2.5);
    } else if (key == "ViewTop") {
        text(p, "T", 15);
    } else if (key == "ViewFront") {
        text(p, "F", 15);
    } else if (key == "ViewSide") {
        text(p, "S", 15);
    } else if (key == "ViewIso") {
        text(p, "ISO", 9);
    } else if (key == "FlagMode") {
        flag(p, QPointF(7, 21), 1.0);
    } else if (key == "ZoomAll") {
        p.setPen(QPen(kInk, 2));
        p.drawRect(QRectF(4, 4, 16, 16));
        p.setBrush(kInk);
        p.drawEllipse(QPointF(12, 12), 2, 2);
    } else if (key == "ZoomOut" || key == "ZoomIn") {
        p.setPen(QPen(kInk, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
        p.drawLine(QPointF(15, 15), QPointF(21, 21));
        p.drawLine(QPointF(7, 10), QPointF(13, 10));
        if (key == "ZoomIn") p.drawLine(QPointF(10, 7), QPointF(10, 13));
    } else if (key == "ColorBar") {
        const QColor bands[] = {QColor(220, 40, 40), QColor(240, 160, 40), QColor(60, 180, 70),
                                QColor(60, 120, 220)};
        for (int i = 0; i < 4; ++i) p.fillRect(QRectF(8, 3 + 4.5 * i, 8, 4.5), bands[i]);
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(8, 3, 8, 18));
    } else if (key == "PointsBigger" || key == "PointsSmaller") {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        const double r = key == "PointsBigger" ? 7 : 3;
        p.drawEllipse(QPointF(12, 12), r, r);
    } else if (key == "VectorMode") {
        p.setBrush(kInk);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(6, 18), 2.5, 2.5);
        arrow(p, QPointF(6, 18), QPointF(19, 6), kAccent);
    } else if (key == "VectorLonger") {
        arrow(p, QPointF(3, 12), QPointF(21, 12), kAccent);
    } else if (key == "VectorShorter") {
        arrow(p, QPointF(8, 12), QPointF(16, 12), kAccent);
    } else if (key == "AnalyseMode") {
        p.setPen(QPen(kInk, 2));
        QPainterPath wave;
        wave.moveTo(3, 12);
        for (int x = 3; x <= 21; ++x) wave.lineTo(x, 12 - 6 * std::sin((x - 3) / 3.0));
        p.drawPath(wave);
    } else if (key == "ListView") {
        p.setPen(QPen(kInk, 2));
        for (int i = 0; i < 3; ++i) p.drawLine(QPointF(5, 7 + 5 * i), QPointF(19, 7 + 5 * i));
    } else if (key == "SaveView") {
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(230, 236, 245));
        p.drawRect(QRectF(4, 5, 16, 13));
        text(p, "+", 14, QColor(40, 140, 60));
    } else if (key == "DeleteView") {
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(230, 236, 245));
        p.drawRect(QRectF(4, 5, 16, 13));
        p.setPen(QPen(kAccent, 2));
        p.drawLine(QPointF(8, 8), QPointF(16, 15));
        p.drawLine(QPointF(16, 8), QPointF(8, 15));
    } else if (key == "LastView") {
        arrow(p, QPointF(19, 12), QPointF(5, 12), kInk);
    } else if (key == "NextView") {
        arrow(p, QPointF(5, 12), QPointF(19, 12), kInk);
    } else if (key == "LineMode") {
        lineWithPoints(p);
    } else if (key == "SetLine" || key == "DeleteLine") {
        lineWithPoints(p);
        p.setPen(QPen(key == "SetLine" ? QColor(40, 140, 60) : kAccent, 2.2));
        if (key == "SetLine") {
            p.drawLine(QPointF(15, 17), QPointF(21, 17));
            p.drawLine(QPointF(18, 14), QPointF(18, 20));
        } else {
            p.drawLine(QPointF(15, 14), QPointF(21, 20));
            p.drawLine(QPointF(21, 14), QPointF(15, 20));
        }
    } else {
        text(p, key.left(2), 10);
    }
}

QPixmap cursorPicture(GraphicsPointer pointer) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // The hot spot is the top-left corner: a small cross marks it.
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(0, 0, 6, 0);
    p.drawLine(0, 0, 0, 6);
    if (pointer == GraphicsPointer::Flag) {
        flag(p, QPointF(10, 28), 1.2);
    } else {
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(QPointF(8, 26), QPointF(26, 8));
        p.setPen(QPen(pointer == GraphicsPointer::SetLine ? QColor(40, 140, 60) : kAccent, 2.5));
        if (pointer == GraphicsPointer::SetLine) {
            p.drawLine(QPointF(18, 24), QPointF(28, 24));
            p.drawLine(QPointF(23, 19), QPointF(23, 29));
        } else {
            p.drawLine(QPointF(19, 20), QPointF(27, 28));
            p.drawLine(QPointF(27, 20), QPointF(19, 28));
        }
    }
    return pm;
}

}  // namespace

QIcon toolbarIcon(const QString& key) {
    QStyle* style = QApplication::style();
    if (key == "FileNew") return style->standardIcon(QStyle::SP_FileIcon);
    if (key == "FileOpen") return style->standardIcon(QStyle::SP_DialogOpenButton);
    if (key == "FileSave") return style->standardIcon(QStyle::SP_DialogSaveButton);
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paint(p, key);
    p.end();
    return QIcon(pm);
}

QCursor graphicsPointerCursor(GraphicsPointer pointer) {
    if (pointer == GraphicsPointer::Default) return QCursor(Qt::ArrowCursor);
    return QCursor(cursorPicture(pointer), 0, 0);
}

}  // namespace kal
