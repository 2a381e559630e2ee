#include "input/ui/FormInputStatistic.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "shared/ui/NumberBox.h"

namespace kal {

namespace {

constexpr const char* kName = "FormInputStatistic";

QString q(const std::string& s) { return QString::fromStdString(s); }

void setTextIfChanged(QLineEdit* box, const std::string& text) {
    const QString t = q(text);
    if (box->text() != t) box->setText(t);
}

}  // namespace

FormInputStatistic::FormInputStatistic(const JobState& job, QWidget* parent) : QWidget(parent), job_(job) {
    setObjectName(kName);
    setWindowTitle(kInputStatisticCaption);
    build();
    fill();  // Form_Load
}

void FormInputStatistic::build() {
    // Compact, as the design: eight frames and the buttons in a small window.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(2);
    for (int n = 1; n <= 7; ++n) {
        auto* frame = new QGroupBox(this);
        frame->setObjectName(QString("Label%1").arg(n));
        auto* box = new NumberBox(frame);
        box->setObjectName(QString("Text%1").arg(n));
        box->setReadOnly(true);
        auto* inner = new QHBoxLayout(frame);
        inner->setContentsMargins(6, 0, 6, 3);
        inner->addWidget(box);
        layout->addWidget(frame);
        frames_[static_cast<std::size_t>(n - 1)] = frame;
        texts_[static_cast<std::size_t>(n - 1)] = box;
    }

    rangeFrame_ = new QGroupBox(kRangeFrameDesignCaption, this);
    rangeFrame_->setObjectName("FrameABCRange");
    rangeFrame_->setToolTip("Shows max-min Value of A, B and C Angle");
    auto* grid = new QGridLayout(rangeFrame_);
    grid->setContentsMargins(6, 0, 6, 3);
    grid->setHorizontalSpacing(4);
    const char* names[] = {"TextRangeA", "TextRangeB", "TextRangeC"};
    const char* captions[] = {"Range A", "Range B", "Range C"};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(captions[i], rangeFrame_);
        auto* box = new NumberBox(rangeFrame_);
        box->setObjectName(names[i]);
        box->setReadOnly(true);
        label->setBuddy(box);
        grid->addWidget(label, 0, 2 * i);
        grid->addWidget(box, 0, 2 * i + 1);
        grid->setColumnStretch(2 * i + 1, 1);
        ranges_[static_cast<std::size_t>(i)] = box;
        rangeLabels_[static_cast<std::size_t>(i)] = label;
    }
    layout->addWidget(rangeFrame_);

    auto* buttons = new QHBoxLayout;
    close_ = new QPushButton("&Close", this);
    close_->setObjectName("BtnOK");
    inputFiles_ = new QPushButton("&to Input Files", this);
    inputFiles_->setObjectName("BtnCancel");
    buttons->addWidget(close_);
    buttons->addStretch();
    buttons->addWidget(inputFiles_);
    layout->addSpacing(4);
    layout->addLayout(buttons);
    layout->addStretch();

    connect(close_, &QPushButton::clicked, this, &FormInputStatistic::closeWindow);
    connect(inputFiles_, &QPushButton::clicked, this, [this] {
        closeWindow();
        emit inputFilesRequested();
    });
}

void FormInputStatistic::fill() {
    const InputStatisticState s = inputStatistic(job_);
    for (std::size_t i = 0; i < 7; ++i) {
        if (!filled_ || s.captions[i] != shown_.captions[i]) frames_[i]->setTitle(q(s.captions[i]));
        setTextIfChanged(texts_[i], s.texts[i]);
    }
    if (!filled_ || s.rangeCaption != shown_.rangeCaption) rangeFrame_->setTitle(q(s.rangeCaption));
    rangeFrame_->setEnabled(s.rangesEnabled);
    for (std::size_t i = 0; i < 3; ++i) {
        setTextIfChanged(ranges_[i], s.ranges[i]);
        ranges_[i]->setEnabled(s.rangesEnabled);
    }
    shown_ = s;
    filled_ = true;
}

void FormInputStatistic::closeWindow() {
    // Inside the main window the frame goes, and with it this window.
    if (auto* outer = parentWidget(); outer && outer->inherits("QMdiSubWindow"))
        outer->close();
    else
        close();
}

void FormInputStatistic::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        closeWindow();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FormInputStatistic::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (!event->isAccepted() || closing_) return;
    closing_ = true;
    emit closed();
}

}  // namespace kal
