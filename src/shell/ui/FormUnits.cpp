#include "shell/ui/FormUnits.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "shared/Units.h"

namespace kal {

namespace {

QComboBox* list(const char* name, const std::vector<std::string>& items, int selected) {
    auto* combo = new QComboBox;
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(false);  // the lists offer only their items
    for (const auto& item : items) combo->addItem(QString::fromStdString(item));
    combo->setCurrentIndex(selected);
    return combo;
}

}  // namespace

FormUnits::FormUnits(const JobState& job, std::function<void(const UnitsChoice&)> onOk, QWidget* parent)
    : QWidget(parent), onOk_(std::move(onOk)) {
    setObjectName(QStringLiteral("FormUnits"));
    setWindowTitle(QStringLiteral("Units [ ] and Digits"));
    const UnitsChoice c = unitsChoiceForJob(job);
    length_ = list("ComboLength", lengthUnitNames(), c.length);
    angle_ = list("ComboAngle", angleUnitNames(), c.angle);
    digitLength_ = list("ComboDigitLength", digitItems(), c.digitLength);
    digitAngle_ = list("ComboDigitAngle", digitItems(), c.digitAngle);
    digitScale_ = list("ComboDigitScale", scaleDigitItems(), c.digitScale);
    // The caption is long and the window narrow: it wraps in a label beside the box, and a click on
    // the label ticks the box as a click on a check box's caption does.
    const QString phiThetaTip = QStringLiteral(
        "Instead of an angle a length value is shown based on the angle and the R or Rho Value");
    phiTheta_ = new QCheckBox;
    phiTheta_->setObjectName(QStringLiteral("CheckQ"));
    phiTheta_->setToolTip(phiThetaTip);
    phiThetaCaption_ =
        new QLabel(QStringLiteral("Show Phi and Theta in Length Unit on all deviations; this can be "
                                  "called a laterally deviation"));
    phiThetaCaption_->setWordWrap(true);
    phiThetaCaption_->setToolTip(phiThetaTip);
    phiThetaCaption_->installEventFilter(this);
    phiTheta_->setChecked(c.phiThetaAsQ);
    ok_ = new QPushButton(QStringLiteral("&OK"));
    ok_->setObjectName(QStringLiteral("BtnOK"));
    cancel_ = new QPushButton(QStringLiteral("&Cancel"));
    cancel_->setObjectName(QStringLiteral("BtnCancel"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Unit [ ]")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Digits")), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Length")), 1, 0);
    grid->addWidget(length_, 1, 1);
    grid->addWidget(digitLength_, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Angle")), 2, 0);
    grid->addWidget(angle_, 2, 1);
    grid->addWidget(digitAngle_, 2, 2);
    grid->addWidget(new QLabel(QStringLiteral("Scale")), 3, 0);
    grid->addWidget(digitScale_, 3, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    auto* phiThetaRow = new QHBoxLayout;
    phiThetaRow->addWidget(phiTheta_, 0, Qt::AlignTop);
    phiThetaRow->addWidget(phiThetaCaption_, 1);
    layout->addLayout(phiThetaRow);
    layout->addLayout(buttons);
    // The caption beside the box wraps, taking more lines the narrower the window is. A window
    // lower than its content at its narrowest would squeeze the lists under their texts, so it is
    // never lower than that.
    layout->activate();
    const QSize least = layout->totalMinimumSize();
    setMinimumSize(least.width(), std::max(least.height(), layout->totalHeightForWidth(least.width())));

    length_->installEventFilter(this);
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (onOk_) onOk_(choice());
    });
    connect(cancel_, &QPushButton::clicked, this, &FormUnits::cancelled);
}

UnitsChoice FormUnits::choice() const {
    return UnitsChoice{length_->currentIndex(),     angle_->currentIndex(),      digitLength_->currentIndex(),
                       digitAngle_->currentIndex(), digitScale_->currentIndex(), phiTheta_->isChecked()};
}

bool FormUnits::eventFilter(QObject* watched, QEvent* event) {
    // Esc in the length list acts as Cancel; in the other lists it does nothing here.
    if (watched == length_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        emit cancelled();
        return true;
    }
    if (watched == phiThetaCaption_ && event->type() == QEvent::MouseButtonRelease &&
        phiTheta_->isEnabled()) {
        phiTheta_->toggle();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kal
