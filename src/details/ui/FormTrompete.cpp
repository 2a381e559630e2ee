#include "details/ui/FormTrompete.h"

#include <QCloseEvent>
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
    resize(picture_.width(), picture_.height());
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
