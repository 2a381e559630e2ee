#pragma once
// The splash window: the program's picture and version, shown modally at start-up. It closes
// after its interval or at a click on the picture; clicks on the strip below or the text do
// nothing.
#include <QDialog>
#include <QLabel>
#include <QTimer>

#include "shell/SplashLayout.h"

namespace kal {

// The splash window shown at start-up (Eroeffnung).
class SplashWindow : public QDialog {
    Q_OBJECT
  public:
    // intervalMs: how long it stays; start-up passes 4000, tests a short one.
    explicit SplashWindow(int intervalMs = kSplashMilliseconds, QWidget* parent = nullptr);

    // Shows the window modally and returns when it has closed. Unlike exec(), it cannot miss a
    // close that comes while the window is being shown (a zero interval).
    void runModal();

    // (image1)
    QWidget* pictureLeft() const { return pictureLeft_; }
    // (image2)
    QWidget* pictureRight() const { return pictureRight_; }
    QLabel* textStatus() const { return textStatus_; }

    // The picture drawn at the given size: the program's name, a cloud of points with their
    // deviation vectors, and the version.
    static QImage drawPicture(QSize size);

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    QWidget* pictureLeft_;
    QWidget* pictureRight_;
    QLabel* textStatus_;
    QTimer timWartezeit_;
};

}  // namespace kal
