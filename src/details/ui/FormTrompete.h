#pragma once
// The trumpet graph window (caption "Lengthdeviationdiagramm - Trumpet"): shows the picture that
// drawTrumpetGraph (core) drew when the window opened, at its top-left corner on a black
// background. The picture is fixed: a later analysis does not change it. Escape closes it, as do
// its close button and Ctrl+F4.
#include <QImage>
#include <QWidget>

#include "shared/ImageBuffer.h"

namespace kal {

class FormTrompete : public QWidget {
    Q_OBJECT
  public:
    // Takes the drawn picture (784 x 429); the window shows it as it is.
    explicit FormTrompete(ImageBuffer picture, QWidget* parent = nullptr);

    // The picture box `Screen`, wrapping the core's pixels without a copy.
    const QImage& screen() const { return image_; }
    const ImageBuffer& picture() const { return picture_; }
    QSize sizeHint() const override { return image_.size(); }

  signals:
    void closed();

  protected:
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    // Escape closes the window.
    void keyPressEvent(QKeyEvent* e) override;

  private:
    ImageBuffer picture_;
    QImage image_;
    bool closedSent_ = false;
};

}  // namespace kal
