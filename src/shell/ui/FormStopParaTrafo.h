#pragma once
// The stop window of the paraboloid iteration, a child window of the main window. Its button and
// its close box stop the iteration (ParaStopFlag); the flow that opened it closes it at its end.
// While it is open the main window shows the hourglass and the window itself an arrow.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include "shell/StopWindows.h"
#include "shell/ui/WindowPositions.h"

namespace kal {

class FormStopParaTrafo : public QWidget {
    Q_OBJECT
  public:
    explicit FormStopParaTrafo(QWidget* parent = nullptr);

    // (btnStopParaTrafo)
    QPushButton* stopButton() const { return stopButton_; }
    void closeByProgram();

  signals:
    void closing(bool byUser);

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    QPushButton* stopButton_;
    bool byProgram_ = false;
};

class QtParaStopWindow : public ParaStopWindow {
  public:
    // mainWindow: the window that shows the hourglass while the stop window is open.
    QtParaStopWindow(QMdiArea* mdi, QWidget* mainWindow, bool& paraStopFlag,
                     const WindowPositions& positions);
    ~QtParaStopWindow() override;

    void open() override;
    void setStopEnabled(bool enabled) override;
    void stopParaboloidLoop() override;
    void close() override;
    bool isOpen() const override { return !form_.isNull(); }

    FormStopParaTrafo* form() const { return form_; }
    QMdiSubWindow* subWindow() const { return sub_; }

  private:
    QMdiArea* mdi_;
    QPointer<QWidget> mainWindow_;
    bool& paraStopFlag_;
    const WindowPositions& positions_;
    QPointer<QMdiSubWindow> sub_;
    QPointer<FormStopParaTrafo> form_;
};

}  // namespace kal
