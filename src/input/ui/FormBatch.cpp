#include "input/ui/FormBatch.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/Regional.h"

namespace kal {

namespace {

constexpr const char* kName = "FormBatch";
constexpr const char* kExplorerTip = "Does not work with Win7 or higer";

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& t) { return t.toStdString(); }

QPushButton* button(const char* caption, const char* name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);  // Enter in a folder box starts nothing
    return b;
}

}  // namespace

// The run's progress is the window itself: the bar in the status frame, and Cancel as Stop.
class FormBatch::RunProgress : public platform::Progress {
  public:
    explicit RunProgress(FormBatch& form) : form_(form) {}
    void open(const std::string&) override {
        form_.stopRequested_ = false;
        form_.bar_->setValue(0);
        form_.setRunning(true);
    }
    void setValue(int percent) override {
        if (form_.running_) form_.bar_->setValue(std::clamp(percent, 0, 100));
    }
    bool stopRequested() const override { return form_.stopRequested_; }
    void close() override { form_.setRunning(false); }

  private:
    FormBatch& form_;
};

FormBatch::FormBatch(const JobState& job, platform::Services services, BatchWindowHooks hooks,
                     const BatchWindowSettings& settings, QWidget* parent)
    : QDialog(parent), job_(job), services_(services), hooks_(std::move(hooks)) {
    setObjectName(kName);
    setWindowTitle(kBatchCaption);
    setModal(true);
    progress_ = std::make_unique<RunProgress>(*this);
    build(settings);
}

FormBatch::~FormBatch() = default;

platform::Progress& FormBatch::progress() { return *progress_; }

void FormBatch::build(const BatchWindowSettings& settings) {
    auto* layout = new QVBoxLayout(this);

    auto folderFrame = [&](const char* caption, const char* frameName, QLineEdit*& box, const char* boxName,
                           QPushButton*& browseButton, const char* browseName, QPushButton*& exploreButton,
                           const char* exploreName) {
        auto* frame = new QGroupBox(caption, this);
        frame->setObjectName(frameName);
        auto* grid = new QGridLayout(frame);
        box = new QLineEdit(frame);
        box->setObjectName(boxName);
        browseButton = button("&Browse", browseName, frame);
        exploreButton = button("E&xplorer...", exploreName, frame);
        exploreButton->setToolTip(kExplorerTip);
        grid->addWidget(box, 0, 0, 1, 3);
        grid->addWidget(browseButton, 1, 1);
        grid->addWidget(exploreButton, 1, 2);
        grid->setColumnStretch(0, 1);
        layout->addWidget(frame);
        return grid;
    };
    folderFrame("MCS Directory = Measurement Coordinate System = Start System", "FrameMCS", mcsBox_,
                "TextNameMCSDirectory", browseMcs_, "BtnBrowseMCS", exploreMcs_, "BtnEXBrowseMCS");
    QGridLayout* tcsGrid =
        folderFrame("TCS Directory = Transformed Coordinates = Target System", "FrameTCS", tcsBox_,
                    "TextNameTCSDirectory", browseTcs_, "BtnBrowseTCS", exploreTcs_, "BtnExBrowseTCS");
    sameAsMcs_ = new QCheckBox("Use same as MCS Directory", tcsBox_->parentWidget());
    sameAsMcs_->setObjectName("CheckSameAsMCS");
    tcsGrid->addWidget(sameAsMcs_, 1, 0);

    auto* typeFrame = new QGroupBox("Batch Type ", this);
    typeFrame->setObjectName("FrameBatchType");
    auto* typeLayout = new QVBoxLayout(typeFrame);
    actualCalc_ = new QRadioButton(
        "Transform all Files of a directory with the ACTUAL transformation parameter values", typeFrame);
    actualCalc_->setObjectName("OptionTransformWithActualCalc");
    newCalc_ = new QRadioButton(
        "Transform all Files (MCS) of a directory to one File with OCS; actual Parameter SETTINGS are used; "
        "Parameters values will be calculated for each file by the identically points",
        typeFrame);
    newCalc_->setObjectName("OptionTransformWithNewCalc");
    newCalc_->setEnabled(false);
    newCalc_->setVisible(false);
    typeLayout->addWidget(actualCalc_);
    typeLayout->addWidget(newCalc_);
    layout->addWidget(typeFrame);

    auto* settingsFrame = new QGroupBox("Batch Settings ", this);
    settingsFrame->setObjectName("FrameBatchSettings");
    auto* settingsLayout = new QVBoxLayout(settingsFrame);
    auto* ocsFrame = new QGroupBox("OCS File", settingsFrame);
    ocsFrame->setObjectName("FrameOCSFile");
    auto* ocsLayout = new QVBoxLayout(ocsFrame);
    auto* ocsLabel = new QLabel(
        "The OCS File (Target System) is the OCS File which is actually loaded in this job", ocsFrame);
    ocsLabel->setWordWrap(true);
    ocsLayout->addWidget(ocsLabel);
    onlyMcs_ = new QRadioButton(
        "Write only the Points to File, which are only available in MCS = Start System (Identically points "
        "will "
        "not be written within the file)",
        ocsFrame);
    onlyMcs_->setObjectName("OptionOnlyOnlyMCS");
    writeAll_ = new QRadioButton("Write both, identically and only MCS Points to File", ocsFrame);
    writeAll_->setObjectName("OptionWriteAll");
    writeAll_->setVisible(false);
    ocsLayout->addWidget(onlyMcs_);
    ocsLayout->addWidget(writeAll_);
    settingsLayout->addWidget(ocsFrame);
    layout->addWidget(settingsFrame);

    auto* explain = new QLabel(
        "All files of the MCS Directory are transformed with the calculated transformation parameters; the "
        "names of the result files in the TCS Directory get the suffix _out added.",
        this);
    explain->setObjectName("LabelExplain");
    explain->setWordWrap(true);
    layout->addWidget(explain);

    auto* statusFrame = new QGroupBox("Calcualtion Status", this);
    statusFrame->setObjectName("FrameStatus");
    auto* statusLayout = new QVBoxLayout(statusFrame);
    countLabel_ = new QLabel(statusFrame);
    countLabel_->setObjectName("LabelBatchStatusANZ");
    pathLabel_ = new QLabel(statusFrame);
    pathLabel_->setObjectName("LabelStatus");
    pathLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bar_ = new QProgressBar(statusFrame);
    bar_->setObjectName("ProgressBatch");
    bar_->setRange(0, 100);
    bar_->setValue(0);
    statusLayout->addWidget(countLabel_);
    statusLayout->addWidget(pathLabel_);
    statusLayout->addWidget(bar_);
    layout->addWidget(statusFrame);

    auto* buttons = new QHBoxLayout;
    start_ = button("&Start Batch", "BtnStartBatch", this);
    cancel_ = button("&Cancel", "BtnCancel", this);
    buttons->addWidget(start_);
    buttons->addStretch();
    buttons->addWidget(cancel_);
    layout->addStretch();
    layout->addLayout(buttons);

    mcsBox_->setText(q(settings.mcsDirectory));
    tcsBox_->setText(q(settings.tcsDirectory));
    // Option 2 of the batch type is hidden and disabled: a stored 2 is kept, not offered.
    actualCalc_->setChecked(settings.batchType != 2);
    newCalc_->setChecked(settings.batchType == 2);
    onlyMcs_->setChecked(settings.writeType != 2);
    writeAll_->setChecked(settings.writeType == 2);

    connect(browseMcs_, &QPushButton::clicked, this,
            [this] { browse(mcsBox_, "Choose the MCS = Start Directory"); });
    connect(browseTcs_, &QPushButton::clicked, this,
            [this] { browse(tcsBox_, "Choose the TCS = Target Directory"); });
    connect(exploreMcs_, &QPushButton::clicked, this, [this] { explore(mcsBox_); });
    connect(exploreTcs_, &QPushButton::clicked, this, [this] { explore(tcsBox_); });
    connect(sameAsMcs_, &QCheckBox::clicked, this, &FormBatch::sameAsMcsClicked);
    connect(start_, &QPushButton::clicked, this, [this] { startBatch(); });
    connect(cancel_, &QPushButton::clicked, this, &FormBatch::reject);
    // Without a file manager to ask, the Explorer buttons would do nothing: they are greyed.
    exploreMcs_->setEnabled(static_cast<bool>(hooks_.exploreFolder));
    exploreTcs_->setEnabled(static_cast<bool>(hooks_.exploreFolder));
}

int FormBatch::batchType() const { return newCalc_->isChecked() ? 2 : 1; }
int FormBatch::writeType() const { return writeAll_->isChecked() ? 2 : 1; }

void FormBatch::browse(QLineEdit* box, const char* topText) {
    if (!hooks_.chooseFolder) return;
    const std::string chosen = hooks_.chooseFolder(topText, s(box->text()));
    if (!chosen.empty()) box->setText(q(chosen));
}

void FormBatch::explore(QLineEdit* box) {
    if (!hooks_.exploreFolder) return;
    // The folder the box names, itself: its text is a folder, not a file in one.
    const std::string folder = s(box->text());
    if (!hooks_.exploreFolder(folder) && services_.prompter)
        services_.prompter->message("The folder \r\n" + folder + "\r\n cannot be opened.");
}

void FormBatch::sameAsMcsClicked(bool ticked) {
    browseTcs_->setEnabled(!ticked);
    tcsBox_->setEnabled(!ticked);
    if (ticked) tcsBox_->setText(mcsBox_->text());
}

void FormBatch::setRunning(bool running) {
    if (running_ == running) return;
    running_ = running;
    for (QWidget* w : {static_cast<QWidget*>(mcsBox_), static_cast<QWidget*>(browseMcs_),
                       static_cast<QWidget*>(sameAsMcs_), static_cast<QWidget*>(start_)})
        w->setEnabled(!running);
    const bool tcsOpen = !running && !sameAsMcs_->isChecked();
    tcsBox_->setEnabled(tcsOpen);
    browseTcs_->setEnabled(tcsOpen);
    if (running)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
    if (hooks_.setLongWorkRunning) hooks_.setLongWorkRunning(running);
}

void FormBatch::showStatus(const std::string& countText, const std::string& inputPath) {
    countLabel_->setText(q(countText));
    pathLabel_->setText(q(inputPath));
    countLabel_->repaint();
    pathLabel_->repaint();
}

BatchOutcome FormBatch::startBatch() {
    if (running_) return {};
    BatchChoices choices{s(mcsBox_->text()), s(tcsBox_->text()), batchType(), writeType()};
    BatchServices run;
    run.prompter = services_.prompter;
    run.progress = progress_.get();
    run.events = services_.events;
    run.decimalSeparator = platform::Regional::decimalSeparator();
    run.writeSettings = hooks_.writeSettings;
    run.showStatus = [this](const std::string& count, const std::string& path) { showStatus(count, path); };
    try {
        return runBatchTransform(job_, choices, run);
    } catch (const std::exception& e) {
        // The run's own failures are listed; what escapes it must not leave the window locked.
        setRunning(false);
        if (services_.prompter)
            services_.prompter->message(std::string("The batch run failed.\r\n") + e.what());
        return {};
    }
}

void FormBatch::reject() {
    if (running_) {
        stopRequested_ = true;  // the run ends after the file it is on; the window stays
        return;
    }
    QDialog::reject();
}

}  // namespace kal
