#include "shell/ui/FormOptions.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "shared/ui/NumberBox.h"
#include "shell/ui/WindowPositions.h"

namespace kal {

namespace {

constexpr const char* kWindowName = "FormOptions";

QString q(const std::string& s) { return QString::fromStdString(s); }

template <class W>
W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

}  // namespace

FormOptions::FormOptions(JobState& job, platform::Prompter& prompter,
                         std::function<void(const std::vector<IniEntry>&)> writeSettings,
                         const WindowPositions* positions, QWidget* parent)
    : QDialog(parent),
      job_(job),
      prompter_(prompter),
      writeSettings_(std::move(writeSettings)),
      positions_(positions) {
    setObjectName(QString::fromLatin1(kWindowName));
    setWindowTitle(QStringLiteral("Options"));
    build();
    if (positions_) positions_->restore(this, kWindowName);
    try {
        showFields(optionsFieldsForJob(job_));
    } catch (const std::exception&) {
        prompter_.message("uncritical error while loading Form Options");
    }
}

void FormOptions::build() {
    tabs_ = named(new QTabWidget(this), "SSTab1");

    // "Clipboard Settings"
    auto* clipboardTab = new QWidget;
    auto* clipboardLayout = new QVBoxLayout(clipboardTab);
    auto* frame2 = named(new QGroupBox(QStringLiteral("Auto Clipboard Settings")), "Frame2");
    auto* frame2Layout = new QVBoxLayout(frame2);
    auto* group = new QButtonGroup(this);
    const struct {
        const char* name;
        const char* caption;
        const char* tooltip;
    } buttons[] = {
        {"OptionNIX", "Do &not copy anything to clipboard", ""},
        {"OptionALL", "&Complete results to clipboard after each calculation", ""},
        {"OptionRobot", "&Robot measurement protocol results after each calculation", ""},
        {"OptionBMW", "BMW Cell Calibration Component Parameters",
         "Tra x, Tra y, Tra z, -rot x, -rot y, -rot z"},
        {"OptionKuka", "Kuka Robot Parameter X, Y, Z, A, B, C",
         "Copys Tra x, Tra y, Tra z and -Rotz, -Roty, -Rotx to the Clipboard"},
    };
    for (int mode = 1; mode <= 5; ++mode) {
        const auto& b = buttons[mode - 1];
        auto* button = named(new QRadioButton(QString::fromUtf8(b.caption)), b.name);
        if (b.tooltip[0] != '\0') button->setToolTip(QString::fromUtf8(b.tooltip));
        group->addButton(button, mode);
        frame2Layout->addWidget(button);
        modes_[static_cast<std::size_t>(mode)] = button;
        connect(button, &QRadioButton::clicked, this, [this] { showModifierStates(); });
    }
    inverted_ =
        named(new QCheckBox(QStringLiteral("give inverted Parameters to Clipboard (SWAP Trafo direction)")),
              "CheckInverted");
    adTcp_ = named(new QCheckBox(QStringLiteral("&ad TCP xyz to Kuka Parameter")), "CheckAdTCP");
    frame2Layout->addWidget(inverted_);
    frame2Layout->addWidget(adTcp_);
    auto* frame1 = named(new QGroupBox(QStringLiteral("MAIN Sheet Clipboard Settings")), "Frame1");
    auto* frame1Layout = new QVBoxLayout(frame1);
    tableHeading_ = named(new QCheckBox(QStringLiteral("copy Tabel heading with data")), "CheckTabelHeading");
    frame1Layout->addWidget(tableHeading_);
    clipboardLayout->addWidget(frame2);
    clipboardLayout->addWidget(frame1);
    clipboardLayout->addStretch();
    tabs_->addTab(clipboardTab, QStringLiteral("Clipboard Settings"));

    // "Monte Carlo Settings"
    auto* monteCarloTab = new QWidget;
    auto* monteCarloLayout = new QVBoxLayout(monteCarloTab);
    auto* frameMc = named(new QGroupBox(QStringLiteral("Monte Carlo Settings")), "FrameMonteCarloSettings");
    auto* form = new QFormLayout(frameMc);
    const char* sigmaNames[3] = {"TextSx", "TextSy", "TextSz"};
    const char* sigmaLabels[3] = {"Standard Deviation for MCS x Coordinates",
                                  "Standard Deviation for MCS y Coordinates",
                                  "Standard Deviation for MCS z Coordinates"};
    for (int i = 0; i < 3; ++i) {
        sigma_[static_cast<std::size_t>(i)] = named(new NumberBox, sigmaNames[i]);
        form->addRow(QString::fromLatin1(sigmaLabels[i]), sigma_[static_cast<std::size_t>(i)]);
    }
    runs_ = named(new NumberBox, "TextMonteCarloRuns");
    runs_->setToolTip(
        QStringLiteral("Defines the number of independent calculations for the Monte Carlo Method; "
                       "hight number causes long calculation time"));
    form->addRow(QStringLiteral("Monte Carlo runs"), runs_);
    monteCarloLayout->addWidget(frameMc);
    monteCarloLayout->addStretch();
    tabs_->addTab(monteCarloTab, QStringLiteral("Monte Carlo Settings"));

    // "more Settings"
    auto* moreTab = new QWidget;
    auto* moreLayout = new QVBoxLayout(moreTab);
    auto* frame3 = named(new QGroupBox(QStringLiteral("Gimbal Lock Settings")), "Frame3");
    auto* frame3Layout = new QVBoxLayout(frame3);
    gimbal_ = named(new NumberBox, "TextGimbalLock");
    auto* explanation =
        new QLabel(QStringLiteral("Choose Border to indicate Gimbal Lock (enter here the Deviation to 90 "
                                  "deg, so if you enter 0.3 every "
                                  "second rotation wich is beetween 87.7 and 90.3 will be indicated as "
                                  "Gimbal Lock and the first rotation "
                                  "will be set to 0)"));
    explanation->setWordWrap(true);
    frame3Layout->addWidget(gimbal_);
    frame3Layout->addWidget(explanation);
    moreLayout->addWidget(frame3);
    moreLayout->addStretch();
    tabs_->addTab(moreTab, QStringLiteral("more Settings"));

    ok_ = named(new QPushButton(QStringLiteral("&OK")), "BtnOK");
    cancel_ = named(new QPushButton(QStringLiteral("&Cancel")), "BtnCancel");
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, [this] {
        if (applySettings()) accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttonsRow = new QHBoxLayout;
    buttonsRow->addStretch();
    buttonsRow->addWidget(ok_);
    buttonsRow->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttonsRow);
}

void FormOptions::showFields(const OptionsFields& f) {
    for (int mode = 1; mode <= 5; ++mode) {
        QRadioButton* b = modes_[static_cast<std::size_t>(mode)];
        if (mode == f.clipboardMode) b->setChecked(true);
    }
    if (f.clipboardMode == 0) {
        // A mode outside the list selects no button: the exclusive group must let go first.
        auto* group = modes_[1]->group();
        group->setExclusive(false);
        for (int mode = 1; mode <= 5; ++mode) modes_[static_cast<std::size_t>(mode)]->setChecked(false);
        group->setExclusive(true);
    }
    inverted_->setEnabled(invertedEnabled(f.clipboardMode));
    adTcp_->setEnabled(adTcpEnabled(f.clipboardMode));
    inverted_->setChecked(f.inverted);
    adTcp_->setChecked(f.adTcp);
    tableHeading_->setChecked(f.tableHeading);
    sigma_[0]->setText(q(f.sigmaX));
    sigma_[1]->setText(q(f.sigmaY));
    sigma_[2]->setText(q(f.sigmaZ));
    runs_->setText(q(f.runs));
    gimbal_->setText(q(f.gimbalLockBorder));
}

void FormOptions::showModifierStates() {
    const OptionsFields f = fields();
    inverted_->setEnabled(invertedEnabled(f.clipboardMode));
    adTcp_->setEnabled(adTcpEnabled(f.clipboardMode));
}

OptionsFields FormOptions::fields() const {
    OptionsFields f;
    for (int mode = 1; mode <= 5; ++mode)
        if (modes_[static_cast<std::size_t>(mode)]->isChecked())
            f.clipboardMode = static_cast<std::int16_t>(mode);
    f.inverted = inverted_->isChecked();
    f.adTcp = adTcp_->isChecked();
    f.tableHeading = tableHeading_->isChecked();
    f.sigmaX = sigma_[0]->text().toStdString();
    f.sigmaY = sigma_[1]->text().toStdString();
    f.sigmaZ = sigma_[2]->text().toStdString();
    f.runs = runs_->text().toStdString();
    f.gimbalLockBorder = gimbal_->text().toStdString();
    return f;
}

QLineEdit* FormOptions::boxOf(OptionsField field) const {
    switch (field) {
        case OptionsField::SigmaX:
            return sigma_[0];
        case OptionsField::SigmaY:
            return sigma_[1];
        case OptionsField::SigmaZ:
            return sigma_[2];
        case OptionsField::Runs:
            return runs_;
        case OptionsField::GimbalLockBorder:
            return gimbal_;
    }
    return runs_;
}

bool FormOptions::applySettings() {
    const OptionsApplied applied = applyOptions(job_, fields());
    if (applied.problem) {
        prompter_.message(applied.problem->message);
        QLineEdit* box = boxOf(applied.problem->field);
        // Show the box's tab, then the box itself, ready for the correction.
        for (int i = 0; i < tabs_->count(); ++i)
            if (tabs_->widget(i)->isAncestorOf(box)) tabs_->setCurrentIndex(i);
        box->setFocus();
        box->selectAll();
        return false;
    }
    if (writeSettings_) {
        try {
            writeSettings_(applied.settings);
        } catch (const std::exception& e) {
            prompter_.message(std::string("The settings apply to this run but could not be stored: ") +
                              e.what());
        }
    }
    return true;
}

void FormOptions::done(int result) {
    if (positions_) positions_->store(this, kWindowName);
    QDialog::done(result);
}

}  // namespace kal
