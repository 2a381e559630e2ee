#include "calculation/ui/FormTrafoBerechnung.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "calculation/AlternativeSolutions.h"
#include "calculation/CalculationWindowLayout.h"
#include "calculation/CalculationWindowSetUp.h"
#include "calculation/OneCalculation.h"
#include "engine/DesignMatrix.h"
#include "engine/InverseTrafo.h"
#include "shared/IniFile.h"
#include "shared/Units.h"
#include "shared/WindowPos.h"
#include "shared/ui/GridColumnWidths.h"

namespace kal {

namespace {

constexpr const char* kName = "FormTrafoBerechnung";
constexpr const char* kCaption = "Transformation Calculation";

QString q(const std::string& s) { return QString::fromStdString(s); }

// Grey text on a scale box while it is estimated or locked at "not used"; black where it holds a
// fixed scale the user may type.
bool grey(int slot, const ParameterRow& r) {
    return r.valueGrey || ((isAxisScaleSlot(slot) || slot == kScaleXYZ) && r.valueReadOnly);
}

void setColour(QWidget* w, QPalette::ColorRole role, const QColor& colour) {
    if (w->palette().color(role) == colour) return;
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

}  // namespace

// The calculation's progress in the status bar: texts as they come, a repaint on the engine's
// 50 ms clock only.
class FormTrafoBerechnung::StatusPanels : public CalcProgress {
  public:
    explicit StatusPanels(FormTrafoBerechnung& form) : form_(form) {}
    void setPanelText(int panel, const std::string& text) override { form_.setPanelText(panel, text); }
    void repaint() override {
        if (form_.statusBar_) form_.statusBar_->repaint();
    }

  private:
    FormTrafoBerechnung& form_;
};

FormTrafoBerechnung::FormTrafoBerechnung(JobState& job, JobEvents& events, platform::Services services,
                                         CalculationWindowServices hooks, QWidget* parent)
    : QWidget(parent), job_(job), events_(events), services_(services), hooks_(std::move(hooks)) {
    setObjectName(kName);
    setWindowTitle(kCaption);
    setAttribute(Qt::WA_DeleteOnClose, false);  // the owner decides; an MDI sub-window deletes it
    progress_ = std::make_unique<StatusPanels>(*this);
    flow_ = std::make_unique<CalculationFlow>(job_, events_, services_, this, progress_.get());
    build();
    connectControls();
    // The parameter boxes show each calculation's values before the other windows hear of it.
    subscriptions_.push_back(events_.subscribe({JobEvent::ResultsChanged, JobEvent::CalculationEnded},
                                               Subscriber::ResultDisplay, [this](JobEvent e) {
                                                   showPanel();
                                                   if (e != JobEvent::CalculationEnded) return;
                                                   // Once the calculation has returned, whoever
                                                   // started it: the controls it locked come back.
                                                   QTimer::singleShot(0, this, [this] { showPanel(); });
                                                   if (gimbal_.questionPending()) askGimbalQuestionLater();
                                               }));
    subscriptions_.push_back(events_.subscribe(JobEvent::UnitsChanged, Subscriber::Other, [this] {
        setPanelText(8, job_.LengthUnitName);
        setPanelText(9, job_.AngleUnitName);
    }));
    setUp();
}

FormTrafoBerechnung::~FormTrafoBerechnung() {
    subscriptions_.clear();
    if (waitCursor_) QApplication::restoreOverrideCursor();
}

// ---------------------------------------------------------------- forwarding

template <class Change>
void FormTrafoBerechnung::change(Change&& c) {
    c();
    showPanel();
}

void FormTrafoBerechnung::connectControls() {
    for (int slot = 1; slot <= kParamCount; ++slot) {
        RowWidgets& w = rows_[static_cast<std::size_t>(slot)];
        if (!isVectorSlot(slot))
            connect(w.estimate, &QCheckBox::toggled, this,
                    [this, slot](bool on) { change([&] { panel().setEstimate(slot, on); }); });
        connect(w.value, &QLineEdit::textEdited, this, [this, slot](const QString& text) {
            panel().setValueText(slot, text.toStdString());
            if (slot == kRotY) rotYChanged();
            if (isShapeSlot(slot)) updateAlternativeButton();
        });
        connect(w.seedCheck, &QCheckBox::toggled, this,
                [this, slot](bool on) { change([&] { panel().setSeedCheck(slot, on); }); });
        connect(w.seed, &QLineEdit::textEdited, this,
                [this, slot](const QString& text) { panel().setSeedText(slot, text.toStdString()); });
    }
    connect(useAbc_, &QCheckBox::toggled, this, [this](bool on) { change([&] { panel().setUseAbc(on); }); });
    connect(rDataKnown_, &QCheckBox::toggled, this,
            [this](bool on) { change([&] { panel().setRDataKnown(on); }); });
    for (std::int16_t mode = kNormL1; mode <= kNormMinimax; ++mode)
        connect(norms_[static_cast<std::size_t>(mode)], &QRadioButton::toggled, this, [this, mode](bool on) {
            if (on) change([&] { panel().selectNorm(mode); });
        });
    for (const auto& [preset, button] : presets_)
        connect(button, &QRadioButton::toggled, this, [this, preset = preset](bool on) {
            if (on)
                change([&] { panel().selectPreset(preset); });
            else
                showPanel();  // a preset stays selected until another is chosen
        });
    connect(autoRecalc_, &QCheckBox::toggled, this,
            [this](bool on) { change([&] { panel().setAutoRecalc(on); }); });
    connect(monteCarlo_, &QCheckBox::toggled, this,
            [this](bool on) { change([&] { panel().setMonteCarlo(on); }); });
    connect(calculate_, &QPushButton::clicked, this, &FormTrafoBerechnung::calculate);
    connect(stop_, &QPushButton::clicked, this, &FormTrafoBerechnung::stop);
    connect(seedButton_, &QPushButton::clicked, this, [this] { change([&] { flow_->copyValuesToSeed(); }); });
    connect(direction_, &QPushButton::clicked, this, [this] {
        flow_->switchDirection();
        showDirection();
        showPanel();
    });
    connect(useAll_, &QPushButton::clicked, this, [this] {
        if (!flow_->busy()) table_->useAllPoints();
    });
    connect(details_, &QPushButton::clicked, this, [this] {
        if (hooks_.showDetails) hooks_.showDetails();
    });
    details_->setEnabled(static_cast<bool>(hooks_.showDetails));
    connect(secRot_, &QPushButton::clicked, this, &FormTrafoBerechnung::showOtherRotation);
    connect(secAff_, &QPushButton::clicked, this, &FormTrafoBerechnung::showOtherShape);
    connect(alternative_, &QPushButton::clicked, this, &FormTrafoBerechnung::showAlternativeSplit);
    connect(close_, &QPushButton::clicked, this, [this] {
        if (auto* outer = parentWidget(); outer && outer->inherits("QMdiSubWindow"))
            outer->close();
        else
            close();
    });
    connect(copyForm_, &QPushButton::clicked, this, &FormTrafoBerechnung::copyFormRequested);
    connect(deviation_, &QCheckBox::toggled, this, [this](bool on) { table_->setDeviationShown(on); });

    // A toggle works on all three flags of a point in the R Dist mode: the "R Dist." box now, or R
    // Dist held at a value by the last calculation.
    table_->setRDistModeQuery([this] { return isRDistMode(job_, controlsOf(panel()), job_.ParamState); });
    connect(table_, &PointTable::recalculationRequested, this, &FormTrafoBerechnung::calculate);
    connect(table_, &PointTable::pointSelected, this, &FormTrafoBerechnung::pointSelected);
    connect(table_, &PointTable::contextMenuRequested, this, &FormTrafoBerechnung::contextMenuRequested);
}

void FormTrafoBerechnung::calculate() {
    flow_->runCalculation();
    showPanel();
}

void FormTrafoBerechnung::stop() { flow_->requestStop(); }

void FormTrafoBerechnung::switchMaxPoint(const std::string& name, int component) {
    table_->switchMaxPoint(component, name);
}

void FormTrafoBerechnung::switchMaxPointAllComponents(const std::string& name) {
    // Nothing to toggle: the recalculation switch is left alone.
    if (name.empty() || !table_->isEnabled() || table_->rowOfName(name) < 0) return;
    const bool recalculate = job_.AutoRecalc;
    if (recalculate) change([&] { panel().setAutoRecalc(false); });
    table_->switchMaxPoint(0, name);
    table_->switchMaxPoint(1, name);
    if (recalculate) change([&] { panel().setAutoRecalc(true); });
    table_->switchMaxPoint(2, name);
}

// ---------------------------------------------------------------- set-up and layout

void FormTrafoBerechnung::setUp() {
    setWaitCursor(true);
    direction_->setToolTip(
        q("Switch Transformation Direction  MCS = " + job_.NameMCS + "   |   OCS = " + job_.NameOCS));

    const SetUpOutcome outcome = setUpCalculationPanel(job_, panel());
    showDirection();

    deviation_->setChecked(true);  // fills the point table
    keepColumnWidths();
    for (int column = 1; column <= 7; ++column)
        widths_->setStoredTwips(column,
                                storedColumnWidth(job_.IniFilePath, "col_fb_" + std::to_string(column)));
    widths_->apply();
    // The first point becomes the current row; a table without points has none.
    if (job_.IdenticalCount >= 1 && table_->gridModel().rowCount() >= 1 &&
        table_->gridModel().columnCount() > 1)
        table_->setCurrentIndex(table_->gridModel().index(0, 1));
    setWaitCursor(false);
    setPanelText(8, job_.LengthUnitName);
    setPanelText(9, job_.AngleUnitName);
    showPanel();
    alternative_->setEnabled(false);
    stop_->setEnabled(false);
    if (outcome.useFlagsSwitchedOn) events_.publish(JobEvent::UseFlagsChanged);
}

void FormTrafoBerechnung::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    layoutFrames();
}

bool FormTrafoBerechnung::event(QEvent* e) {
    // A child of the window itself asks for other room (the status bar).
    if (e->type() == QEvent::LayoutRequest) {
        updateMinimumWidth();
        layoutFrames();
    }
    return QWidget::event(e);
}

void FormTrafoBerechnung::layoutFrames() {
    if (!statusBar_ || !scroll_) return;
    const int barHeight = statusBar_->sizeHint().height();
    statusBar_->setGeometry(0, height() - barHeight, width(), barHeight);
    scroll_->setGeometry(0, 0, width(), std::max(0, height() - barHeight));
    const double dpi = logicalDpiX();
    const CalculationWindowColumns c =
        layoutForWidth(pixelsToTwips(canvas_->width(), dpi), {}, statisticsMinimumTwips());
    place(frameStatistics_, 120, 8520, c.statisticsWidth, 2175);
    place(table_, 8040, 120, c.tableWidth, 8280);
    place(frameNorm_, c.normLeft, 0, 1755, 1215);
    place(frameStandards_, c.standardsLeft, 1320, 1755, 1788);
    place(frameControl_, c.controlLeft, 3240, 1755, 5145);
    place(copyForm_, c.buttonsLeft, 8760, 1290, 735);
    place(close_, c.buttonsLeft, 10080, 1290, 375);
}

void FormTrafoBerechnung::closeEvent(QCloseEvent* e) {
    // The calculation lives in this window: it cannot go while one runs.
    if (flow_->busy()) {
        e->ignore();
        return;
    }
    e->accept();
    if (closing_) return;
    closing_ = true;
    job_.TrafoFormGeladen = false;
    storeColumnWidths();
    emit closed();
}

// The widths live here, not in the table: a table that rebuilds its columns (a model reset) gets
// them back, a refill fits the columns without a stored or user's width to the new residuals, and
// the user's last widths are what the unload stores.
void FormTrafoBerechnung::keepColumnWidths() {
    table_->horizontalHeader()->setMinimumSectionSize(0);
    widths_ = new GridColumnWidths(*table_, 1, 7);
    connect(&table_->gridModel(), &QAbstractItemModel::modelReset, widths_, &GridColumnWidths::apply);
    connect(table_, &PointTable::refilled, widths_, &GridColumnWidths::apply);
}

void FormTrafoBerechnung::storeColumnWidths() {
    if (!hooks_.writeSettings) return;
    std::vector<IniEntry> entries;
    for (int column = 1; column <= 7; ++column)
        if (widths_->chosen(column))
            entries.push_back({"Cols", "col_fb_" + std::to_string(column), widths_->twips(column)});
    hooks_.writeSettings(entries);
}

bool FormTrafoBerechnung::eventFilter(QObject* watched, QEvent* event) {
    // The canvas follows the window (or stands at its minimum, scrolled); the statistics frame's
    // boxes asking for more room reach the canvas, which has no layout of its own.
    if (watched == canvas_ && (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest)) {
        if (event->type() == QEvent::LayoutRequest) updateMinimumWidth();
        layoutFrames();
        return false;
    }
    if (event->type() == QEvent::FocusIn)
        if (auto* edit = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });  // typing replaces the value
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- showing the panel

void FormTrafoBerechnung::showPanel() {
    const ParameterPanel& p = panel();
    const bool locked = p.locked();
    bool rotYChangedHere = false, shapeChanged = false;
    for (int slot = 1; slot <= kParamCount; ++slot) {
        const ParameterRow& r = p.row(slot);
        RowWidgets& w = rows_[static_cast<std::size_t>(slot)];
        const QSignalBlocker b1(w.estimate), b2(w.value), b3(w.seedCheck), b4(w.seed);
        if (!isVectorSlot(slot)) w.estimate->setChecked(r.estimate);
        const QString text = q(r.valueText);
        if (w.value->text() != text) {
            w.value->setText(text);
            if (slot == kRotY) rotYChangedHere = true;
            if (isShapeSlot(slot)) shapeChanged = true;
        }
        w.value->setEnabled(r.valueEnabled);
        w.value->setReadOnly(r.valueReadOnly);
        if (slot != kRotY || !gimbalRed_)
            setColour(w.value, QPalette::Text, grey(slot, r) ? QColor(128, 128, 128) : QColor(0, 0, 0));
        w.seedCheck->setChecked(r.seedChecked);
        w.seedCheck->setEnabled(r.seedCheckEnabled);
        if (w.seed->text() != q(r.seedText)) w.seed->setText(q(r.seedText));
        w.seed->setEnabled(r.seedEnabled);
    }
    {
        const QSignalBlocker b(useAbc_);
        useAbc_->setChecked(p.useAbc());
        useAbc_->setEnabled(p.useAbcEnabled());
        rows_[kRDist].estimate->setEnabled(p.rDistEnabled());
    }
    for (std::int16_t mode = kNormL1; mode <= kNormMinimax; ++mode) {
        QRadioButton* b = norms_[static_cast<std::size_t>(mode)];
        const QSignalBlocker blocker(b);
        b->setChecked(p.norm() == mode);
        b->setEnabled(p.normEnabled(mode));
    }
    for (const auto& [preset, button] : presets_) {
        const QSignalBlocker blocker(button);
        button->setChecked(p.preset() == preset);
    }
    {
        const QSignalBlocker b1(autoRecalc_), b2(monteCarlo_), b3(rDataKnown_);
        autoRecalc_->setChecked(p.autoRecalc());
        monteCarlo_->setChecked(p.monteCarlo());
        monteCarlo_->setEnabled(p.monteCarloEnabled() && !locked);
        rDataKnown_->setChecked(p.rDataKnown());
        rDataKnown_->setEnabled(p.rDataKnownEnabled());
        loadRData_->setEnabled(p.loadRDataEnabled());
    }
    direction_->setEnabled(p.directionButtonEnabled() && !locked);
    seedButton_->setEnabled(p.seedButtonEnabled() && !locked);
    if (rotYChangedHere) rotYChanged();
    if (shapeChanged) updateAlternativeButton();
}

void FormTrafoBerechnung::showDirection() {
    const DirectionLabel& d = flow_->directionLabel();
    directionLabel_->setText(q(d.caption));
    directionLabel_->setToolTip(q(d.tooltip));
    setColour(directionLabel_, QPalette::WindowText, d.red ? QColor(255, 0, 0) : QColor(0, 0, 0));
    if (d.buttonRed)
        setColour(direction_, QPalette::Button, QColor(255, 0, 0));
    else
        direction_->setPalette(QPalette());
}

void FormTrafoBerechnung::updateAlternativeButton() {
    alternative_->setEnabled(alternativeSplitEnabled(panel()));
}

// ---------------------------------------------------------------- gimbal lock

void FormTrafoBerechnung::rotYChanged() {
    QLineEdit* box = rows_[kRotY].value;
    gimbalRed_ = gimbal_.check(job_, panel());
    setColour(box, QPalette::Base, gimbalRed_ ? QColor(255, 0, 0) : QColor(255, 255, 255));
    if (!gimbalRed_) box->setToolTip(QString());
    if (gimbal_.questionPending()) askGimbalQuestionLater();
}

void FormTrafoBerechnung::askGimbalQuestionLater() {
    // After the display has finished and never inside a running calculation: a calculation that
    // runs when the timer comes keeps the question for its end (CalculationEnded asks again).
    QTimer::singleShot(0, this, [this] {
        if (!services_.prompter || flow_->busy()) return;
        if (gimbal_.askPending(*flow_, job_, *services_.prompter)) showPanel();
    });
}

// ---------------------------------------------------------------- alternative solutions

void FormTrafoBerechnung::showOtherRotation() {
    const auto texts = otherRotationTexts(job_, rows_[kRotX].value->text().toStdString());
    for (int k = 0; k < 3; ++k) panel().setValueText(kRotX + k, texts[static_cast<std::size_t>(k)]);
    showPanel();
}

void FormTrafoBerechnung::showOtherShape() {
    const auto texts = otherShapeTexts(job_, rows_[kAzimuth].value->text().toStdString());
    for (int k = 0; k < 3; ++k) panel().setValueText(kParXY + k, texts[static_cast<std::size_t>(k)]);
    showPanel();
}

void FormTrafoBerechnung::showAlternativeSplit() {
    setWaitCursor(true);
    bool noSolution = false;
    std::optional<AlternativeSplit> split;
    try {
        split = alternativeSplit(
            job_,
            {rows_[kRotX].value->text().toStdString(), rows_[kRotY].value->text().toStdString(),
             rows_[kRotZ].value->text().toStdString()},
            &noSolution);
    } catch (const std::exception& e) {
        setWaitCursor(false);
        if (services_.prompter) services_.prompter->message(e.what());
        return;
    }
    setWaitCursor(false);
    if (noSolution && services_.prompter) services_.prompter->message(kNoInverseSolutionMessage);
    if (!split) return;
    auto angle = [&](double radians) {
        return formatAngle(radians, job_.AngleFactor, job_.AngleFormat, job_.AngleUnitName, job_.AngleFormat);
    };
    // Each box first, then its parameter, rot x to z, then the shape angles.
    for (int k = 0; k < 3; ++k) {
        panel().setValueText(kRotX + k, angle(split->rotation[static_cast<std::size_t>(k)]));
        job_.Params[static_cast<std::size_t>(kRotX + k)] = split->rotation[static_cast<std::size_t>(k)];
    }
    const int shapeSlots[] = {kParXY, kAzimuth, kZtoXY};
    for (int k = 0; k < 3; ++k) {
        panel().setValueText(shapeSlots[k], angle(split->shape[static_cast<std::size_t>(k)]));
        job_.Params[static_cast<std::size_t>(shapeSlots[k])] = split->shape[static_cast<std::size_t>(k)];
    }
    showPanel();
}

// ---------------------------------------------------------------- the flow's view

void FormTrafoBerechnung::setWaitCursor(bool on) {
    if (on == waitCursor_) return;
    waitCursor_ = on;
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void FormTrafoBerechnung::setCalculateEnabled(bool enabled) {
    calculate_->setEnabled(enabled);
    setInputsEnabled(enabled);
}

void FormTrafoBerechnung::setInputsEnabled(bool enabled) {
    // While a calculation runs only STOP is live: nothing may change the job under it.
    for (QWidget* w : {static_cast<QWidget*>(frameCalculate_), static_cast<QWidget*>(frameNorm_),
                       static_cast<QWidget*>(frameStandards_), static_cast<QWidget*>(table_),
                       static_cast<QWidget*>(autoRecalc_), static_cast<QWidget*>(useAll_),
                       static_cast<QWidget*>(monteCarlo_), static_cast<QWidget*>(close_)})
        w->setEnabled(enabled);
    if (enabled) {
        details_->setEnabled(static_cast<bool>(hooks_.showDetails));
        showPanel();
    } else {
        for (QWidget* w : {seedButton_, direction_, details_}) w->setEnabled(false);
    }
}

void FormTrafoBerechnung::setStopEnabled(bool enabled) { stop_->setEnabled(enabled); }

void FormTrafoBerechnung::setWindowEnabled(bool enabled) {
    setInputsEnabled(enabled);
    copyForm_->setEnabled(enabled);
}

void FormTrafoBerechnung::showStopWindow() {
    if (hooks_.showStopWindow) hooks_.showStopWindow();
}

void FormTrafoBerechnung::setStopWindowEnabled(bool enabled) {
    if (hooks_.setStopWindowEnabled) hooks_.setStopWindowEnabled(enabled);
}

void FormTrafoBerechnung::closeStopWindow() {
    if (hooks_.closeStopWindow) hooks_.closeStopWindow();
}

void FormTrafoBerechnung::setPanelText(int panel, const std::string& text) {
    if (QLabel* l = statusPanel(panel)) l->setText(q(text));
}

}  // namespace kal
