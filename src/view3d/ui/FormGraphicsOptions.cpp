#include "view3d/ui/FormGraphicsOptions.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <map>

namespace kal {

namespace {

template <class W>
W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

}  // namespace

FormGraphicsOptions::FormGraphicsOptions(JobState& job, GraphicsOptionsServices services,
                                         LabelFontServices labelFont, QWidget* parent)
    : QDialog(parent),
      job_(job),
      services_(std::move(services)),
      labelFontServices_(std::move(labelFont)),
      model_(job.GraphicsFlags) {
    setObjectName(QStringLiteral("FormGraphicsOptions"));
    setWindowTitle(QStringLiteral("Graphics Options"));
    setModal(false);
    build();
}

void FormGraphicsOptions::build() {
    // The frames in the order they stand, each with its boxes in table order.
    const char* frameOrder[] = {kVisiblePointsFrame, kLabelsFrame, kDirectionFrame, kMoreSettingsFrame};
    std::map<std::string, QVBoxLayout*> frameLayouts;
    auto* layout = new QVBoxLayout(this);
    for (const char* title : frameOrder) {
        auto* frame = new QGroupBox(QString::fromUtf8(title));
        frameLayouts[title] = new QVBoxLayout(frame);
        layout->addWidget(frame);
    }

    const auto& table = graphicsOptionBoxes();
    const GraphicsFlagSet& shown = model_.state().chosen;
    for (std::size_t i = 0; i < table.size(); ++i) {
        auto* box = named(new QCheckBox(QString::fromUtf8(table[i].caption)), table[i].control);
        box->setChecked(shown.*table[i].flag);  // loading applies nothing: Auto Apply is off
        frameLayouts[table[i].frame]->addWidget(box);
        boxes_[i] = box;
        // A click, not a change made by code, counts.
        connect(box, &QCheckBox::clicked, this, [this, i](bool checked) {
            if (model_.setBox(i, checked)) applyOptions();
        });
    }
    labelFont_ = named(new QPushButton(QStringLiteral("Label &Font")), "BtnLabelFont");
    frameLayouts[kLabelsFrame]->addWidget(labelFont_);
    connect(labelFont_, &QPushButton::clicked, this, [this] {
        chooseLabelFont(labelFontServices_);
        if (model_.state().autoApply) applyOptions();
    });

    deviation_ = named(new QRadioButton(QStringLiteral("based on deviation = actual - nominal")),
                       "OptionVecDeviation");
    deviation_->setToolTip(
        QStringLiteral("actual is TCS (Transformed Coordinate System; based on MCS); nominal is OCS"));
    correction_ = named(new QRadioButton(QStringLiteral("based on correction = nominal - actual")),
                        "OptionVecCorrection");
    correction_->setToolTip(QStringLiteral("actual is TCS (based on MCS); nominal is OCS"));
    auto* direction = new QButtonGroup(this);
    direction->addButton(deviation_);
    direction->addButton(correction_);
    (shown.DevVecDirection ? deviation_ : correction_)->setChecked(true);
    frameLayouts[kDirectionFrame]->addWidget(deviation_);
    frameLayouts[kDirectionFrame]->addWidget(correction_);
    connect(deviation_, &QRadioButton::clicked, this, [this] {
        if (model_.chooseDeviation(true)) applyOptions();
    });
    connect(correction_, &QRadioButton::clicked, this, [this] {
        if (model_.chooseDeviation(false)) applyOptions();
    });

    autoApply_ = named(new QCheckBox(QStringLiteral("Auto Apply")), "CheckAutoUpdate");
    connect(autoApply_, &QCheckBox::toggled, this, [this](bool on) { model_.setAutoApply(on); });
    layout->addWidget(autoApply_);

    ok_ = named(new QPushButton(QStringLiteral("&OK")), "BtnOK");
    apply_ = named(new QPushButton(QStringLiteral("&Apply")), "BtnApply");
    cancel_ = named(new QPushButton(QStringLiteral("&Cancel")), "BtnCancel");
    connect(ok_, &QPushButton::clicked, this, [this] {
        applyOptions();
        accept();
    });
    connect(apply_, &QPushButton::clicked, this, [this] { applyOptions(); });
    // What Auto Apply or "&Apply" applied stays.
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(apply_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
}

void FormGraphicsOptions::applyOptions() { applyGraphicsOptions(model_.state().chosen, job_, services_); }

}  // namespace kal
