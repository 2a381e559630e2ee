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
#include "engine/InverseTrafo.h"
#include "shared/IniFile.h"
#include "shared/Units.h"
#include "shared/WindowPos.h"

namespace kal {

namespace {

constexpr const char* kName = "FormTrafoBerechnung";
constexpr const char* kCaption = "Transformation Calculation";
constexpr const char* kTableTooltip =
    "Green Fields indicate Seed Points for Raw Solution; Change Seeds with double Click";

// Object names of a row's controls, by slot.
struct RowNames {
    const char* estimate;
    const char* value;
    const char* seedCheck;
    const char* seed;
};
constexpr std::array<RowNames, kParamCount + 1> kRowNames{{
    {"", "", "", ""},
    {"CheckTraX", "TextTraX", "CheckSeedTrax", "TextSeedTrax"},
    {"CheckTraY", "TextTraY", "CheckSeedTray", "TextSeedTray"},
    {"CheckTraZ", "TextTraZ", "CheckSeedTraz", "TextSeedTraz"},
    {"CheckRotX", "TextRotX", "CheckSeedRotx", "TextSeedRotx"},
    {"CheckRotY", "TextRotY", "CheckSeedRoty", "TextSeedRoty"},
    {"CheckRotZ", "TextRotZ", "CheckSeedRotz", "TextSeedRotz"},
    {"CheckScaleX", "TextScaleX", "CheckSeedScalex", "TextSeedScalex"},
    {"CheckScaleY", "TextScaleY", "CheckSeedScaley", "TextSeedScaley"},
    {"CheckScaleZ", "TextScaleZ", "CheckSeedScalez", "TextSeedScalez"},
    {"CheckScaleXYZ", "TextScaleXYZ", "CheckSeedScalexyz", "TextSeedScalexyz"},
    {"CheckXY", "TextXY", "CheckSeedxy", "TextSeedXY"},
    {"CheckAzimuth", "TextAzimuth", "CheckSeedAzimuth", "TextSeedAzimuth"},
    {"CheckZtoXY", "TextZtoXY", "CheckSeedztoxy", "TextSeedZtoXY"},
    {"CheckRDist", "TextRDist", "CheckSeedRdist", "TextSeedRdist"},
    {"CheckUseABC", "TextRvec_x", "CheckSeedr0_x", "TextSeedr0_x"},
    {"CheckUseABC", "TextRvec_y", "CheckSeedr0_y", "TextSeedr0_y"},
    {"CheckUseABC", "TextRvec_z", "CheckSeedr0_z", "TextSeedr0_z"},
}};

// The rows of "Calculate ..." from the top; z to xy stands above Azimuth z.
constexpr std::array<int, 13> kScreenOrder{kTraX,   kTraY,   kTraZ,     kRotX,  kRotY,  kRotZ,   kScaleX,
                                           kScaleY, kScaleZ, kScaleXYZ, kParXY, kZtoXY, kAzimuth};

const std::map<int, const char*> kEstimateTooltips{
    {kScaleX, "single scale only on x Axis"},
    {kScaleY, "single scale only on y Axis"},
    {kScaleZ, "single scale only on z Axis"},
    {kScaleXYZ, "Global const. Scale on x and y and z Axis"},
    {kParXY, "Difference of Angle between x and y Axis to a right Angle"},
    {kZtoXY, "Difference of Angle between z Axis and xy Plane to a right Angle"},
    {kAzimuth, "Azimuth of z Axis"},
    {kRDist, "Constant Distance beetween MCS and OCS Points; for example on Robot TCP Measurements"},
};

// Widths of the row columns in pixels, shared by the rows and the R option's rows so they align.
constexpr int kCaptionWidth = 82, kValueWidth = 104, kSigmaWidth = 84, kSignificanceWidth = 72,
              kSeedWidth = 84;
constexpr int kRowHeight = 20;

QString q(const std::string& s) { return QString::fromStdString(s); }

QLineEdit* lineEdit(QWidget* parent, int width, const char* name = "") {
    auto* e = new QLineEdit(parent);
    if (name[0] != '\0') e->setObjectName(name);
    e->setFixedSize(width, kRowHeight);
    return e;
}

// A box of the result display: shown, not yet filled.
QLineEdit* resultBox(QWidget* parent, int width) {
    QLineEdit* e = lineEdit(parent, width);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

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
                                                   if (e == JobEvent::CalculationEnded &&
                                                       gimbal_.questionPending())
                                                       askGimbalQuestionLater();
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

// ---------------------------------------------------------------- building

void FormTrafoBerechnung::build() {
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);

    frameCalculate_ = buildCalculateFrame();
    frameNorm_ = buildNormFrame();
    frameStandards_ = buildStandardsFrame();
    frameControl_ = buildControlFrame();

    table_ = new PointTable(job_, events_, this);
    table_->setToolTip(kTableTooltip);

    frameStatistics_ = new QGroupBox("Statistics", this);
    frameStatistics_->setObjectName("Frame1");

    copyForm_ = new QPushButton("copy this Form to clipboad", this);
    copyForm_->setObjectName("TestButton");
    copyForm_->setToolTip("Copy this window as graphic to the clipboard");
    close_ = new QPushButton("Cl&ose", this);
    close_->setObjectName("BtnClose");

    // The table-column switches: only "Deviation" is shown, and it is never the user's.
    frameDisplay_ = new QGroupBox("Display", this);
    frameDisplay_->setObjectName("FrameDisplay");
    auto* display = new QVBoxLayout(frameDisplay_);
    measurement_ = new QCheckBox("Measurement", frameDisplay_);
    measurement_->setObjectName("CheckMeasurement");
    measurement_->setVisible(false);
    object_ = new QCheckBox("Object", frameDisplay_);
    object_->setObjectName("CheckObject");
    object_->setVisible(false);
    deviation_ = new QCheckBox("Deviation", frameDisplay_);
    deviation_->setObjectName("CheckDeviation");
    deviation_->setEnabled(false);
    display->addWidget(measurement_);
    display->addWidget(object_);
    display->addWidget(deviation_);
    frameDisplay_->setVisible(false);

    buildStatusBar();

    place(frameCalculate_, 120, 120, 7875, 8280);
    place(table_, 8040, 120, 7455, 8280);
    place(frameNorm_, 15600, 0, 1755, 1215);
    place(frameStandards_, 15600, 1320, 1755, 1788);
    place(frameControl_, 15600, 3240, 1755, 5145);
    place(frameStatistics_, 120, 8520, 15240, 2175);
    place(copyForm_, 15840, 8760, 1290, 735);
    place(close_, 15840, 10080, 1290, 375);
    resize(twipsToPixels(17610, logicalDpiX()), twipsToPixels(12360, logicalDpiY()));
}

void FormTrafoBerechnung::place(QWidget* w, double left, double top, double width, double height) {
    const double dx = logicalDpiX(), dy = logicalDpiY();
    w->setGeometry(twipsToPixels(left, dx), twipsToPixels(top, dy), twipsToPixels(width, dx),
                   twipsToPixels(height, dy));
}

void FormTrafoBerechnung::addRow(QGridLayout* grid, int r, int slot, QWidget* estimateOrLabel) {
    RowWidgets& w = rows_[static_cast<std::size_t>(slot)];
    QWidget* parent = grid->parentWidget();
    estimateOrLabel->setFixedWidth(kCaptionWidth);
    grid->addWidget(estimateOrLabel, r, 0);
    w.value = lineEdit(parent, kValueWidth, kRowNames[static_cast<std::size_t>(slot)].value);
    w.value->installEventFilter(this);  // the whole text selected on focus
    grid->addWidget(w.value, r, 1);
    w.sigma = resultBox(parent, kSigmaWidth);
    grid->addWidget(w.sigma, r, 2);
    w.significance = resultBox(parent, kSignificanceWidth);
    grid->addWidget(w.significance, r, 3);
    w.seedCheck = new QCheckBox(parent);
    w.seedCheck->setObjectName(kRowNames[static_cast<std::size_t>(slot)].seedCheck);
    w.seedCheck->setText("Check1");
    w.seedCheck->setFixedWidth(18);  // only the box shows; its caption is cut off
    if (slot != kScaleXYZ) w.seedCheck->setToolTip("check to use Seed Value");
    grid->addWidget(w.seedCheck, r, 4);
    w.seed = lineEdit(parent, kSeedWidth, kRowNames[static_cast<std::size_t>(slot)].seed);
    grid->addWidget(w.seed, r, 5);
}

QGroupBox* FormTrafoBerechnung::buildCalculateFrame() {
    auto* frame = new QGroupBox("Calculate ...", this);
    frame->setObjectName("Frame3");
    auto* outer = new QVBoxLayout(frame);
    outer->setContentsMargins(6, 4, 6, 4);
    outer->setSpacing(3);

    auto* rowsBox = new QWidget(frame);
    auto* grid = new QGridLayout(rowsBox);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(1);
    auto header = [&](const char* text, int column, const char* tip = "") {
        auto* l = new QLabel(text, rowsBox);
        l->setToolTip(tip);
        grid->addWidget(l, 0, column, 1, column == 4 ? 2 : 1);
    };
    header("Value", 1);
    header("sigma", 2, "Standard Deviation");
    header("value/sigma", 3);
    header("SEED", 4, "click to use entered value as a seed value for parameter");
    int r = 1;
    for (int slot : kScreenOrder) {
        auto* box = new QCheckBox(QString::fromUtf8(kRowInfo[static_cast<std::size_t>(slot)].caption.data(),
                                                    kRowInfo[static_cast<std::size_t>(slot)].caption.size()),
                                  rowsBox);
        box->setObjectName(kRowNames[static_cast<std::size_t>(slot)].estimate);
        if (auto it = kEstimateTooltips.find(slot); it != kEstimateTooltips.end())
            box->setToolTip(it->second);
        rows_[static_cast<std::size_t>(slot)].estimate = box;
        addRow(grid, r++, slot, box);
    }
    outer->addWidget(rowsBox);

    auto* rOption = new QGroupBox("R Option ", frame);
    rOption->setObjectName("FrameROption");
    auto* rGrid = new QGridLayout(rOption);
    rGrid->setContentsMargins(4, 2, 4, 2);
    rGrid->setHorizontalSpacing(4);
    rGrid->setVerticalSpacing(1);
    auto* rDist = new QCheckBox("R Dist.", rOption);
    rDist->setObjectName(kRowNames[kRDist].estimate);
    rDist->setToolTip(kEstimateTooltips.at(kRDist));
    rows_[kRDist].estimate = rDist;
    addRow(rGrid, 0, kRDist, rDist);
    useAbc_ = new QCheckBox("use ABC", rOption);
    useAbc_->setObjectName("CheckUseABC");
    useAbc_->setToolTip(
        "will calculate the R Dist value in a mathematical model which includes the ABC Angle Information "
        "from the "
        "Robot");
    rGrid->addWidget(useAbc_, 1, 0, 1, 2);
    rDataKnown_ = new QCheckBox("R Data is known", rOption);
    rDataKnown_->setObjectName("CheckRDataKnown");
    rDataKnown_->setToolTip(
        "Constant Distance beetween MCS and OCS Points; for example an Robot TCP Measurements");
    setColour(rDataKnown_, QPalette::WindowText, QColor(255, 0, 0));
    rDataKnown_->setVisible(false);
    rDataKnown_->setEnabled(false);
    loadRData_ = new QPushButton("Load R Data", rOption);
    loadRData_->setObjectName("BtnLoadRData");
    loadRData_->setToolTip("Load known R Data for each Point");
    loadRData_->setVisible(false);
    loadRData_->setEnabled(false);
    const char* vectorLabels[] = {"vec_x", "vec_y", "vec_z"};
    for (int k = 0; k < 3; ++k) {
        auto* label = new QLabel(vectorLabels[k], rOption);
        rows_[static_cast<std::size_t>(kRvecX + k)].estimate = useAbc_;
        addRow(rGrid, 2 + k, kRvecX + k, label);
    }
    outer->addWidget(rOption);

    outer->addWidget(
        new QLabel("Equation: OCS = TRA + Rot_Matrix * Affine_Matrix * Scale_Matrix * MCS", frame));

    auto* buttons = new QHBoxLayout;
    secRot_ = new QPushButton("&sec Rot Sol", frame);
    secRot_->setObjectName("BtnSecSolution");
    secAff_ = new QPushButton("&sec Aff Sol", frame);
    secAff_->setObjectName("BtnSecAffSol");
    for (QPushButton* b : {secRot_, secAff_}) b->setToolTip("Gives Rots for second / other Solution");
    alternative_ = new QPushButton("Show alternativ Rot / Affin Solution", frame);
    alternative_->setObjectName("BtnShowAlternativeRottAff");
    buttons->addWidget(secRot_);
    buttons->addWidget(secAff_);
    buttons->addWidget(alternative_);
    outer->addLayout(buttons);
    outer->addStretch(1);
    return frame;
}

QGroupBox* FormTrafoBerechnung::buildNormFrame() {
    auto* frame = new QGroupBox("Norm (Solution)", this);
    frame->setObjectName("Frame6");
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(4, 0, 2, 0);
    layout->setSpacing(0);
    struct Option {
        std::int16_t mode;
        const char* name;
        const char* caption;
        const char* tip;
    };
    const Option options[] = {
        {kNormL1, "OptionL1", "L&1", "Calc. with L1 Norm [|v|] -> min"},
        {kNormL2, "OptionL2", "L&2", "Calc. with L2 Norm [vv] -> min"},
        // The caption's second line is added when the window loads.
        {kNormMinimax, "OptionLoo", "Loo - max to min\n- in Betta state -",
         "Calc. with Loo Norm max|v| -> min"},
    };
    for (const Option& o : options) {
        auto* b = new QRadioButton(o.caption, frame);
        b->setObjectName(o.name);
        b->setToolTip(o.tip);
        layout->addWidget(b);
        norms_[static_cast<std::size_t>(o.mode)] = b;
    }
    norms_[kNormL2]->setChecked(true);
    return frame;
}

QGroupBox* FormTrafoBerechnung::buildStandardsFrame() {
    auto* frame = new QGroupBox("Standards", this);
    frame->setObjectName("Frame4");
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(4, 0, 2, 0);
    layout->setSpacing(0);
    const std::pair<Preset, std::pair<const char*, const char*>> options[] = {
        {Preset::SixParameter, {"Option6Parameter", "&6 Parameter"}},
        {Preset::SevenParameter, {"Option7Parameter", "&7 Parameter"}},
        {Preset::NineParameter, {"Option9Parameter", "&9 Parameter"}},
        {Preset::TwelveParameter, {"Option12", "1&2 Parameter"}},
        {Preset::HoldLevel, {"OptionHoldLevel", "Hold &Level"}},
    };
    for (const auto& [preset, names] : options) {
        auto* b = new QRadioButton(names.second, frame);
        b->setObjectName(names.first);
        b->setAutoExclusive(false);  // the panel decides which is selected; none at first
        layout->addWidget(b);
        presets_[preset] = b;
    }
    return frame;
}

QGroupBox* FormTrafoBerechnung::buildControlFrame() {
    auto* frame = new QGroupBox("Control", this);
    frame->setObjectName("Frame2");
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(3);
    auto button = [&](const char* caption, const char* name) {
        auto* b = new QPushButton(caption, frame);
        b->setObjectName(name);
        layout->addWidget(b);
        return b;
    };
    calculate_ = button("&Calculate", "BtnCalculate");
    autoRecalc_ = new QCheckBox("Auto &recalculate", frame);
    autoRecalc_->setObjectName("CheckAutoRec");
    layout->addWidget(autoRecalc_);
    seedButton_ = button("Value to SEED", "BtnSEED");
    seedButton_->setToolTip("copy all calcualeted values as next SEED Value");
    direction_ = button("&MCS <=> OCS ", "BtnSwitchMcsOcs");
    directionLabel_ = new QLabel(frame);
    directionLabel_->setObjectName("LabelDirection");
    directionLabel_->setAlignment(Qt::AlignCenter);
    layout->addWidget(directionLabel_);
    useAll_ = button("Use &all pts", "BtnUseAllPts");
    details_ = button("&Details", "BtnDetails");
    stop_ = button("S T O P", "BtnSTOP");
    monteCarlo_ = new QCheckBox("MonteCarlo", frame);
    monteCarlo_->setObjectName("CheckMonteCarlo");
    layout->addWidget(monteCarlo_);
    layout->addStretch(1);
    return frame;
}

void FormTrafoBerechnung::buildStatusBar() {
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName("StatusBar");
    statusBar_->setSizeGripEnabled(false);
    const int stretch[] = {0, 0, 2, 1, 1, 1, 1, 1, 0, 0};
    for (int i = 1; i <= 9; ++i) {
        auto* panel = new QLabel(statusBar_);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setMinimumWidth(i >= 8 ? 70 : 60);
        statusBar_->addWidget(panel, stretch[i]);
        panels_[static_cast<std::size_t>(i)] = panel;
    }
}

QLabel* FormTrafoBerechnung::statusPanel(int panel) const {
    if (panel < 1 || panel > 9) return nullptr;
    return panels_[static_cast<std::size_t>(panel)];
}

QGroupBox* FormTrafoBerechnung::frame(const char* objectName) const {
    return findChild<QGroupBox*>(objectName);
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

    connect(table_, &PointTable::recalculationRequested, this, &FormTrafoBerechnung::calculate);
    connect(table_, &PointTable::pointSelected, this, &FormTrafoBerechnung::pointSelected);
    connect(table_, &PointTable::contextMenuRequested, this, &FormTrafoBerechnung::contextMenuRequested);
}

void FormTrafoBerechnung::calculate() {
    flow_->runCalculation();
    showPanel();
}

void FormTrafoBerechnung::stop() { flow_->requestStop(); }

// ---------------------------------------------------------------- set-up and layout

void FormTrafoBerechnung::setUp() {
    setWaitCursor(true);
    direction_->setToolTip(
        q("Switch Transformation Direction  MCS = " + job_.NameMCS + "   |   OCS = " + job_.NameOCS));

    const SetUpOutcome outcome = setUpCalculationPanel(job_, panel());
    showDirection();

    deviation_->setChecked(true);  // fills the point table
    table_->horizontalHeader()->setMinimumSectionSize(0);
    for (int column = 1; column <= 7 && column < table_->gridModel().columnCount(); ++column) {
        const int twips =
            columnWidthFromSetting(readIniValue(job_.IniFilePath, "col_fb_" + std::to_string(column)));
        table_->setColumnWidth(column, twipsToPixels(twips, logicalDpiX()));
    }
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

void FormTrafoBerechnung::layoutFrames() {
    if (!statusBar_) return;
    const double dpi = logicalDpiX();
    const CalculationWindowColumns c = layoutForWidth(pixelsToTwips(width(), dpi));
    place(table_, 8040, 120, c.tableWidth, 8280);
    place(frameNorm_, c.normLeft, 0, 1755, 1215);
    place(frameStandards_, c.standardsLeft, 1320, 1755, 1788);
    place(frameControl_, c.controlLeft, 3240, 1755, 5145);
    place(copyForm_, c.buttonsLeft, 8760, 1290, 735);
    place(close_, c.buttonsLeft, 10080, 1290, 375);
    const int barHeight = statusBar_->sizeHint().height();
    statusBar_->setGeometry(0, height() - barHeight, width(), barHeight);
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

void FormTrafoBerechnung::storeColumnWidths() {
    if (!hooks_.writeSettings) return;
    std::vector<IniEntry> entries;
    // Only the columns the table has: a table without its columns keeps the stored widths.
    for (int column = 1; column <= 7 && column < table_->gridModel().columnCount(); ++column)
        entries.push_back(
            {"Cols", "col_fb_" + std::to_string(column),
             static_cast<std::int32_t>(pixelsToTwips(table_->columnWidth(column), logicalDpiX()))});
    if (!entries.empty()) hooks_.writeSettings(entries);
}

bool FormTrafoBerechnung::eventFilter(QObject* watched, QEvent* event) {
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
        monteCarlo_->setEnabled(p.monteCarloEnabled());
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
