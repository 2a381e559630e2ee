#include "details/ui/FormDistanceScale.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <exception>

#include "details/TrumpetExport.h"
#include "shared/WindowPos.h"
#include "shared/ui/GridColumnWidths.h"

namespace kal {

namespace {
constexpr int kGridTopTwips = 1500;
constexpr int kGridLeftTwips = 135;
constexpr int kGridHeightLessTwips = 2000;
constexpr int kGridWidthLessTwips = 300;
}  // namespace

FormDistanceScale::FormDistanceScale(const JobState& job, DistanceWindowServices services, QWidget* parent)
    : QWidget(parent), job_(job), services_(std::move(services)), source_(job) {
    setObjectName("FormDistanceScale");
    setWindowTitle("Distance Scale");

    const double dpiX = logicalDpiX(), dpiY = logicalDpiY();
    auto px = [&](int twips) { return twipsToPixels(twips, dpiX); };
    auto py = [&](int twips) { return twipsToPixels(twips, dpiY); };

    optionWithCal_ = new QRadioButton("Calculation with calibration DATA", this);
    optionWithCal_->setObjectName("OptionWithCal");
    optionWithoutCal_ = new QRadioButton("Calculation without calibration DATA", this);
    optionWithoutCal_->setObjectName("OptionWithoutCal");
    auto* group = new QButtonGroup(this);
    group->addButton(optionWithCal_);
    group->addButton(optionWithoutCal_);
    optionWithCal_->setChecked(true);
    optionWithCal_->setGeometry(px(kGridLeftTwips), py(200), px(3900), py(400));
    optionWithoutCal_->setGeometry(px(kGridLeftTwips), py(700), px(3900), py(400));

    btnTrumpet_ = new QPushButton("Trumpet Graph", this);
    btnTrumpet_->setObjectName("BtnTrumpetGraph");
    btnSave_ = new QPushButton("Save Trumped Data", this);
    btnSave_->setObjectName("BtnSaveTrumpetData");
    btnTrumpet_->setGeometry(px(4300), py(150), px(2400), py(450));
    btnSave_->setGeometry(px(4300), py(700), px(2400), py(450));

    grid_ = new DataGrid(this);
    grid_->setObjectName("TabelleScale");
    grid_->setSource(&source_);
    // No width is stored for this table: each column fits its title and texts at every fill, and a
    // width the user drags is kept from one fill to the next.
    widths_ = new GridColumnWidths(*grid_, 0, source_.columnCount() - 1);
    widths_->apply();

    connect(optionWithCal_, &QRadioButton::clicked, this, [this] { onModeClicked(); });
    connect(optionWithoutCal_, &QRadioButton::clicked, this, [this] { onModeClicked(); });
    connect(btnTrumpet_, &QPushButton::clicked, this, [this] {
        if (analysis_ && !running_) emit trumpetGraphRequested();
    });
    connect(btnSave_, &QPushButton::clicked, this, [this] { saveTrumpetData(); });
    btnTrumpet_->setEnabled(false);
    btnSave_->setEnabled(false);

    // Form_Load: 7900 x 7140 twips outside; the frame's share is taken off by the owner.
    resize(px(7900), py(7140));
}

FormDistanceScale::~FormDistanceScale() { grid_->setSource(nullptr); }

void FormDistanceScale::activate() {
    if (running_) return;
    if (!job_.TrafoCalculated) {
        optionWithCal_->setEnabled(false);
        if (withCalibration_) {
            const QSignalBlocker block(optionWithoutCal_);
            optionWithoutCal_->setChecked(true);
            withCalibration_ = false;
            needsRun_ = true;
        }
    }
    if (needsRun_) distanceCalculation();
}

void FormDistanceScale::onModeClicked() {
    if (running_) return;
    withCalibration_ = optionWithCal_->isChecked();
    distanceCalculation();
}

void FormDistanceScale::showMode(bool withCalibration) {
    withCalibration_ = withCalibration;
    const QSignalBlocker blockWith(optionWithCal_), blockWithout(optionWithoutCal_);
    (withCalibration ? optionWithCal_ : optionWithoutCal_)->setChecked(true);
}

void FormDistanceScale::showBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool FormDistanceScale::distanceCalculation() {
    if (running_) return false;
    needsRun_ = false;
    std::optional<DistanceAnalysis> result;
    {
        // While events are let through, the window takes no second run, no mode change, no close.
        running_ = true;
        const bool withCalEnabled = optionWithCal_->isEnabled();
        for (QWidget* w : {static_cast<QWidget*>(optionWithCal_), static_cast<QWidget*>(optionWithoutCal_),
                           static_cast<QWidget*>(btnTrumpet_), static_cast<QWidget*>(btnSave_)})
            w->setEnabled(false);
        if (services_.setLongWorkRunning) services_.setLongWorkRunning(true);
        showBusy(true);
        try {
            DistanceSnapshot snapshot = takeDistanceSnapshot(job_, withCalibration_);
            result = analyseDistances(std::move(snapshot),
                                      {services_.events, services_.progress, services_.interval});
        } catch (const std::exception& e) {
            showBusy(false);
            if (services_.prompter) services_.prompter->message(e.what());
            showBusy(true);
        }
        showBusy(false);
        if (services_.setLongWorkRunning) services_.setLongWorkRunning(false);
        optionWithCal_->setEnabled(withCalEnabled);
        optionWithoutCal_->setEnabled(true);
        running_ = false;
    }
    if (result) {
        analysis_ = std::make_shared<const DistanceAnalysis>(std::move(*result));
        source_.setAnalysis(analysis_.get());
        grid_->gridModel().reset();
        widths_->apply();
        if (services_.analysed) services_.analysed(analysis_);
    } else if (analysis_) {
        // The table and the pairs still hold the previous run: the mode goes back to theirs, so
        // the option buttons always name the numbers shown.
        showMode(analysis_->points.withCalibration);
    }
    btnTrumpet_->setEnabled(analysis_ != nullptr);
    btnSave_->setEnabled(analysis_ != nullptr);
    closeWhenAsked();
    return result.has_value();
}

void FormDistanceScale::refreshTexts() {
    grid_->gridModel().refresh();
    widths_->apply();  // texts in another unit may be longer
}

ExportOutcome FormDistanceScale::saveTrumpetData() {
    if (!analysis_ || running_) return ExportOutcome::Refused;
    TrumpetExportServices s;
    s.exports.prompter = services_.prompter;
    s.exports.fileDialogs = services_.fileDialogs;
    s.exports.showBusy = [this](bool busy) { showBusy(busy); };
    s.events = services_.events;
    s.progress = services_.progress;
    s.interval = services_.interval;
    // The pairs of the table shown, whatever the job holds now; delta s in today's unit.
    const std::shared_ptr<const DistanceAnalysis> pairs = analysis_;
    running_ = true;
    btnTrumpet_->setEnabled(false);
    btnSave_->setEnabled(false);
    ExportOutcome outcome = ExportOutcome::Failed;
    try {
        outcome = exportTrumpetPairs(pairs->points, job_.LengthFactor, job_.LengthFormat, s);
    } catch (...) {
        running_ = false;
        btnTrumpet_->setEnabled(true);
        btnSave_->setEnabled(true);
        throw;
    }
    running_ = false;
    btnTrumpet_->setEnabled(true);
    btnSave_->setEnabled(true);
    closeWhenAsked();
    return outcome;
}

void FormDistanceScale::closeWhenAsked() {
    if (!closeAfterRun_) return;
    closeAfterRun_ = false;
    // After the handler that ran the work has returned: the window may go away then.
    QMetaObject::invokeMethod(
        this,
        [this] {
            (parentWidget() && qobject_cast<QMdiSubWindow*>(parentWidget()) ? parentWidget() : this)->close();
        },
        Qt::QueuedConnection);
}

void FormDistanceScale::layoutGrid() {
    // Sizes of the outer window: the MDI frame around this form when it has one.
    const QWidget* outer = qobject_cast<const QMdiSubWindow*>(parentWidget()) ? parentWidget() : this;
    const double dpiX = logicalDpiX(), dpiY = logicalDpiY();
    const int top = twipsToPixels(kGridTopTwips, dpiY);
    const int left = twipsToPixels(kGridLeftTwips, dpiX);
    const int height = twipsToPixels(pixelsToTwips(outer->height(), dpiY) - kGridHeightLessTwips, dpiY);
    const int width = twipsToPixels(pixelsToTwips(outer->width(), dpiX) - kGridWidthLessTwips, dpiX);
    // A window smaller than the margins leaves the grid empty instead of negative.
    grid_->setGeometry(left, top, std::max(0, width), std::max(0, height));
}

void FormDistanceScale::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    layoutGrid();
}

void FormDistanceScale::closeEvent(QCloseEvent* e) {
    // A run in progress owns this window until it ends (Stop ends it); the window closes then.
    if (running_) {
        closeAfterRun_ = true;
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
    if (e->isAccepted() && !closedSent_) {
        closedSent_ = true;
        emit closed();
    }
}

}  // namespace kal
