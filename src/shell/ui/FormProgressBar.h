#pragma once
// The progress window: a bar and Cancel, a child window of the main window. Cancel and the
// close box set StopFlag; the loop that opened the window sees it at its next test.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include "platform/Progress.h"
#include "shell/ui/WindowPositions.h"

namespace kal {

class FormProgressBar : public QWidget {
    Q_OBJECT
  public:
    explicit FormProgressBar(QWidget* parent = nullptr);

    // The bar, object name "ProgressBar1" (progressBar1).
    QProgressBar* progressBar() const { return progressBar_; }
    // (btnCancel)
    QPushButton* cancelButton() const { return cancelButton_; }

    // Closes the window as its loop's end, not as a cancel.
    void closeByProgram();

  signals:
    // The window is going: by Cancel or its close box (byUser), or at its loop's end.
    void closing(bool byUser);

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    QProgressBar* progressBar_;
    QPushButton* cancelButton_;
    bool byProgram_ = false;
};

// The progress window as long loops use it; it makes the window anew at each open.
class QtProgressWindow : public platform::Progress {
  public:
    QtProgressWindow(QMdiArea* mdi, bool& stopFlag, const WindowPositions& positions);
    ~QtProgressWindow() override;

    void open(const std::string& caption = "Progress") override;
    void setValue(int percent) override;
    bool stopRequested() const override { return state_.stopRequested(); }
    void close() override;
    bool isOpen() const { return state_.isOpen(); }

    FormProgressBar* form() const { return form_; }
    QMdiSubWindow* subWindow() const { return sub_; }

  private:
    QMdiArea* mdi_;
    const WindowPositions& positions_;
    platform::ProgressState state_;
    QPointer<QMdiSubWindow> sub_;
    QPointer<FormProgressBar> form_;
};

}  // namespace kal
