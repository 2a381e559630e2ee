#include "shell/ui/SplashWindow.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <cmath>

#include "shared/Version.h"
#include "shared/WindowPos.h"

namespace kal {

namespace {

// The picture's own size in twips (400 x 260 pixels at 96 dpi), scaled to the screen.
constexpr double kPictureWidthTwips = 6000;
constexpr double kPictureHeightTwips = 3900;

class PictureBox : public QWidget {
  public:
    PictureBox(QWidget* parent, bool closesOnClick) : QWidget(parent), closesOnClick_(closesOnClick) {}
    void setPicture(QImage picture) {
        picture_ = std::move(picture);
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(rect(), picture_);
    }
    void mousePressEvent(QMouseEvent* e) override {
        e->accept();
        if (closesOnClick_)
            if (auto* dialog = qobject_cast<QDialog*>(window())) dialog->accept();
    }

  private:
    bool closesOnClick_;
    QImage picture_;
};

QImage drawStrip(QSize size) {
    QImage img(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(img.rect(), QColor(226, 232, 240));
    QFont f("Arial");
    f.setPixelSize(std::max(8, size.height() * 2 / 5));
    p.setFont(f);
    p.setPen(QColor(40, 60, 90));
    p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("Best-fit transformation of 3D point sets"));
    return img;
}

}  // namespace

QImage SplashWindow::drawPicture(QSize size) {
    QImage img(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    const double w = img.width(), h = img.height();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(16, 36, 72));
    sky.setColorAt(1, QColor(40, 92, 150));
    p.fillRect(img.rect(), sky);

    // Measured points (dots) and their deviation vectors towards the nominal ones, on a tilted
    // grid: what the program shows in its graphics windows.
    QRandomGenerator rng(63);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    for (int i = 0; i <= 10; ++i) {
        const double t = i / 10.0;
        p.drawLine(QPointF(w * (0.45 + 0.5 * t), h * 0.95), QPointF(w * (0.6 + 0.38 * t), h * 0.5));
        p.drawLine(QPointF(w * (0.45 + 0.15 * t), h * (0.95 - 0.45 * t)),
                   QPointF(w * (0.95 + 0.03 * t), h * (0.95 - 0.45 * t)));
    }
    for (int i = 0; i < 40; ++i) {
        const QPointF pt(w * (0.5 + 0.45 * rng.generateDouble()), h * (0.55 + 0.38 * rng.generateDouble()));
        const double angle = rng.generateDouble() * 2 * M_PI;
        const double len = h * (0.02 + 0.06 * rng.generateDouble());
        const QPointF tip = pt + QPointF(std::cos(angle) * len, std::sin(angle) * len);
        const QColor c = len > h * 0.06 ? QColor(240, 90, 70) : QColor(110, 220, 120);
        p.setPen(QPen(c, std::max(1.0, h / 260)));
        p.drawLine(pt, tip);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 250, 250));
        p.drawEllipse(pt, h / 130 + 1, h / 130 + 1);
    }

    QFont title("Arial");
    title.setBold(true);
    title.setPixelSize(std::max(10, static_cast<int>(h * 0.2)));
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(w * 0.06, h * 0.2, w * 0.9, h * 0.3), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Kalvoreth"));
    return img;
}

SplashWindow::SplashWindow(int intervalMs, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      pictureLeft_(new PictureBox(this, true)),
      pictureRight_(new PictureBox(this, false)),
      textStatus_(new QLabel(this)) {
    setObjectName("Eroeffnung");
    setModal(true);
    pictureLeft_->setObjectName("Image1");
    pictureRight_->setObjectName("Image2");
    textStatus_->setObjectName("TextStatus");

    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    const QRect avail = screen ? screen->geometry() : QRect(0, 0, 1280, 800);
    const SplashLayout l = splashLayout(pixelsToTwips(avail.width(), dpi), pixelsToTwips(avail.height(), dpi),
                                        kPictureWidthTwips, kPictureHeightTwips);
    auto px = [dpi](double twips) { return twipsToPixels(twips, dpi); };
    auto place = [&](QWidget* w, const TwipsRect& r) {
        w->setGeometry(px(r.left), px(r.top), px(r.width), px(r.height));
    };
    place(pictureLeft_, l.pictureLeft);
    place(pictureRight_, l.pictureRight);
    static_cast<PictureBox*>(pictureLeft_)->setPicture(drawPicture(pictureLeft_->size()));
    static_cast<PictureBox*>(pictureRight_)->setPicture(drawStrip(pictureRight_->size()));
    setFixedSize(px(l.window.width), px(l.window.height));
    move(avail.left() + px(l.window.left), avail.top() + px(l.window.top));
    // Below the strip's band the window shows its own background.
    setStyleSheet(QStringLiteral("QDialog#Eroeffnung { background: rgb(226, 232, 240); }"));

    QFont font("Arial");
    font.setPixelSize(std::max(9, pictureLeft_->height() / 16));
    textStatus_->setFont(font);
    textStatus_->setStyleSheet(QStringLiteral("color: rgb(220, 230, 245); background: transparent;"));
    textStatus_->setText(QString::fromStdString(splashText()));
    textStatus_->setGeometry(pictureLeft_->width() * 6 / 100, px(l.textTop), pictureLeft_->width() * 9 / 10,
                             textStatus_->sizeHint().height());
    textStatus_->raise();

    timWartezeit_.setSingleShot(true);
    timWartezeit_.setInterval(std::max(0, intervalMs));
    connect(&timWartezeit_, &QTimer::timeout, this, &QDialog::accept);
}

void SplashWindow::runModal() {
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    if (isVisible()) loop.exec(QEventLoop::DialogExec);
}

void SplashWindow::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    timWartezeit_.start();  // the wait counts from the moment the window shows
}

}  // namespace kal
