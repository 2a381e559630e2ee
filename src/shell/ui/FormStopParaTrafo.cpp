#include "shell/ui/FormStopParaTrafo.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace kal {

namespace {
constexpr double kWidthTwips = 3650;  // fixed size; only the position is restored
constexpr double kHeightTwips = 1850;
constexpr const char* kName = "FormStopParaTrafo";
constexpr const char* kCaption = "Stop Paraboloid Trafo";
}  // namespace

FormStopParaTrafo::FormStopParaTrafo(QWidget* parent)
    : QWidget(parent), stopButton_(new QPushButton(kCaption, this)) {
    setObjectName(kName);
    setWindowTitle(kCaption);
    stopButton_->setObjectName("BtnStopParaTrafo");
    stopButton_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(stopButton_);
    connect(stopButton_, &QPushButton::clicked, this, &QWidget::close);
}

void FormStopParaTrafo::closeByProgram() {
    byProgram_ = true;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void FormStopParaTrafo::closeEvent(QCloseEvent* e) {
    e->accept();
    emit closing(!byProgram_);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && !byProgram_ && sub->isVisible()) {
        byProgram_ = true;
        sub->close();
    }
}

QtParaStopWindow::QtParaStopWindow(QMdiArea* mdi, QWidget* mainWindow, bool& paraStopFlag,
                                   const WindowPositions& positions)
    : mdi_(mdi), mainWindow_(mainWindow), paraStopFlag_(paraStopFlag), positions_(positions) {}

QtParaStopWindow::~QtParaStopWindow() {
    if (sub_) delete sub_.data();
    if (mainWindow_) mainWindow_->unsetCursor();
}

void QtParaStopWindow::open() {
    if (!form_) {
        form_ = new FormStopParaTrafo;
        sub_ = mdi_->addSubWindow(form_);
        sub_->setAttribute(Qt::WA_DeleteOnClose);
        positions_.restore(sub_, kName);
        sub_->setFixedSize(twipsOnScreen(sub_, kWidthTwips), twipsOnScreen(sub_, kHeightTwips));
        sub_->setCursor(Qt::ArrowCursor);  // the one place without the hourglass
        QObject::connect(form_, &FormStopParaTrafo::closing, form_, [this, sub = sub_](bool byUser) {
            if (byUser) paraStopFlag_ = true;  // the button and the close box stop alike
            positions_.store(sub, kName);
            if (mainWindow_) mainWindow_->unsetCursor();
            form_ = nullptr;  // it deletes itself; the next open makes a new one
            sub_ = nullptr;
        });
    }
    if (mainWindow_) mainWindow_->setCursor(Qt::WaitCursor);
    sub_->show();
}

void QtParaStopWindow::setStopEnabled(bool enabled) {
    if (sub_) sub_->setEnabled(enabled);
}

void QtParaStopWindow::stopParaboloidLoop() {
    paraStopFlag_ = true;
    if (form_) form_->closeByProgram();
}

void QtParaStopWindow::close() {
    if (form_) form_->closeByProgram();
}

}  // namespace kal
