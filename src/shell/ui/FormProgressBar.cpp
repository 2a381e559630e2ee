#include "shell/ui/FormProgressBar.h"

#include <QCloseEvent>
#include <QHBoxLayout>

namespace kal {

namespace {
constexpr double kWidthTwips = 10140;  // fixed size; only the position is restored
constexpr double kHeightTwips = 1650;
constexpr const char* kName = "FormProgressBar";
}  // namespace

FormProgressBar::FormProgressBar(QWidget* parent)
    : QWidget(parent), progressBar_(new QProgressBar(this)), cancelButton_(new QPushButton("&Cancel", this)) {
    setObjectName(kName);
    setWindowTitle("Progress");
    progressBar_->setObjectName("ProgressBar1");
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    cancelButton_->setObjectName("BtnCancel");
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(progressBar_, 1);
    layout->addWidget(cancelButton_);
    connect(cancelButton_, &QPushButton::clicked, this, &QWidget::close);
}

void FormProgressBar::closeByProgram() {
    byProgram_ = true;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void FormProgressBar::closeEvent(QCloseEvent* e) {
    e->accept();
    emit closing(!byProgram_);
    // A Cancel closes the sub-window around the window too.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && !byProgram_ && sub->isVisible()) {
        byProgram_ = true;  // the sub-window's close comes back here: already told
        sub->close();
    }
}

QtProgressWindow::QtProgressWindow(QMdiArea* mdi, bool& stopFlag, const WindowPositions& positions)
    : mdi_(mdi), positions_(positions), state_(stopFlag) {}

QtProgressWindow::~QtProgressWindow() {
    if (sub_) delete sub_.data();
}

void QtProgressWindow::open(const std::string& caption) {
    state_.open();
    if (!form_) {
        form_ = new FormProgressBar;
        sub_ = mdi_->addSubWindow(form_);
        sub_->setAttribute(Qt::WA_DeleteOnClose);
        positions_.restore(sub_, kName);
        sub_->setFixedSize(twipsOnScreen(sub_, kWidthTwips), twipsOnScreen(sub_, kHeightTwips));
        QObject::connect(form_, &FormProgressBar::closing, form_, [this, sub = sub_](bool byUser) {
            if (byUser)
                state_.cancel();
            else
                state_.close();
            positions_.store(sub, kName);
            form_ = nullptr;  // it deletes itself; the next open makes a new one
            sub_ = nullptr;
        });
    }
    form_->setWindowTitle(QString::fromStdString(caption));
    form_->progressBar()->setValue(0);
    sub_->show();
}

void QtProgressWindow::setValue(int percent) {
    if (state_.setValue(percent) && form_) form_->progressBar()->setValue(state_.value());
}

void QtProgressWindow::close() {
    state_.close();
    if (form_) form_->closeByProgram();
}

}  // namespace kal
