#include "view3d/ui/FormBlackPlane.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <exception>

namespace kal {

namespace {
constexpr const char* kName = "FormBlackPlane";
}  // namespace

FormBlackPlane::FormBlackPlane(std::function<HidingPlaneWindow*()> defaultWindow, JobState& job,
                               DialogPlacement placement, std::function<void(const std::string&)> report,
                               QWidget* parent)
    : QDialog(parent),
      model_(std::move(defaultWindow), job),
      placement_(std::move(placement)),
      report_(std::move(report)),
      frame_(new QGroupBox("BlackPlane Settings", this)),
      activate_(new QCheckBox("Activate BlackPlane", frame_)),
      showBorders_(new QCheckBox("Show Black Planes Borders in Screen", frame_)),
      initialise_(new QPushButton("&Initialize Planes", frame_)),
      moveHint_(new QLabel("Move Black Plane with Key \"b\" and hold left Mouse Button down", frame_)),
      thicknessHint_(new QLabel("Change Thickness with Key \"t\" and hold left Mouse button down", frame_)),
      apply_(new QPushButton("&Apply", this)),
      ok_(new QPushButton("&OK", this)),
      cancel_(new QPushButton("&Cancel", this)) {
    setObjectName(kName);
    setWindowTitle("BlackPlane");
    setModal(true);
    frame_->setObjectName("Frame1");
    activate_->setObjectName("CheckActivate");
    showBorders_->setObjectName("CheckShowBlackPlanes");
    initialise_->setObjectName("BtnInit");
    initialise_->setToolTip("BlackPlanes will be set up parallel to Screen");
    moveHint_->setObjectName("Label2");
    thicknessHint_->setObjectName("Label3");
    apply_->setObjectName("BtnApply");
    ok_->setObjectName("BtnOK");
    cancel_->setObjectName("BtnCancel");
    ok_->setDefault(true);

    auto* frameLayout = new QVBoxLayout(frame_);
    frameLayout->addWidget(activate_);
    frameLayout->addWidget(showBorders_);
    frameLayout->addWidget(initialise_, 0, Qt::AlignLeft);
    frameLayout->addWidget(moveHint_);
    frameLayout->addWidget(thicknessHint_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(apply_);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame_);
    layout->addLayout(buttons);

    connect(activate_, &QCheckBox::toggled, this, [this](bool on) {
        model_.setActivate(on);
        showState();
    });
    // The borders box takes effect only when the dialog is applied.
    connect(showBorders_, &QCheckBox::toggled, this, [this](bool on) { model_.setShowBorders(on); });
    connect(initialise_, &QPushButton::clicked, this, [this] { run([this] { model_.initialise(); }); });
    connect(apply_, &QPushButton::clicked, this, [this] { run([this] { model_.apply(); }); });
    connect(ok_, &QPushButton::clicked, this, [this] {
        bool applied = false;
        run([&] {
            model_.apply();
            applied = true;
        });
        if (applied) accept();
    });
    // Cancel, Escape and the close box close without applying.
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void FormBlackPlane::showEvent(QShowEvent* event) {
    if (placement_.restore) placement_.restore(this, kName);
    model_.load();
    showState();
    QDialog::showEvent(event);
}

void FormBlackPlane::done(int result) {
    if (placement_.store) placement_.store(this, kName);
    QDialog::done(result);
}

void FormBlackPlane::showState() {
    const HidingPlaneDialog::State& s = model_.state();
    const QSignalBlocker blockActivate(activate_), blockBorders(showBorders_);
    if (activate_->isChecked() != s.activate) activate_->setChecked(s.activate);
    if (showBorders_->isChecked() != s.showBorders) showBorders_->setChecked(s.showBorders);
    showBorders_->setEnabled(s.showBordersEnabled);
    initialise_->setEnabled(s.initialiseEnabled);
}

void FormBlackPlane::run(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        if (report_) report_(e.what());
    }
}

}  // namespace kal
