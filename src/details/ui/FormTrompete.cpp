#include "details/ui/FormTrompete.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

#include "details/TrumpetGraph.h"

namespace kal {

FormTrompete::FormTrompete(ImageBuffer picture, QWidget* parent)
    : QWidget(parent), picture_(std::move(picture)) {
    setObjectName("FormTrompete");
    setWindowTitle(kTrumpetCaption);
    // Pixels are 0xFFRRGGBB row by row: Format_RGB32 reads them as they are.
    image_ = QImage(reinterpret_cast<const uchar*>(picture_.data()), picture_.width(), picture_.height(),
                    static_cast<qsizetype>(picture_.width()) * 4, QImage::Format_RGB32);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Takes the focus when its window is activated, so that Escape reaches it.
    setFocusPolicy(Qt::StrongFocus);
    resize(picture_.width(), picture_.height());
}

void FormTrompete::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        // The frame closes, which closes this window with it.
        QWidget* frame = parentWidget() && !isWindow() ? parentWidget() : this;
        frame->close();
        return;
    }
    QWidget::keyPressEvent(e);
}

void FormTrompete::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.drawImage(0, 0, image_);
}

void FormTrompete::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (e->isAccepted() && !closedSent_) {
        closedSent_ = true;
        emit closed();
    }
}

}  // namespace kal
