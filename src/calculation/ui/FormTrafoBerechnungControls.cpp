// The controls of the calculation window and where the design puts them.
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "calculation/CalculationWindowLayout.h"
#include "calculation/ui/FormTrafoBerechnung.h"
#include "shared/WindowPos.h"
#include "shared/ui/NumberBox.h"
#include "shared/ui/WindowPosQt.h"

namespace kal {

namespace {

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

// The smallest the window becomes (pixels): the status bar and a part of the controls, which it
// then scrolls.
constexpr int kScrollingMinimumWidth = 320, kScrollingMinimumHeight = 240;

QLineEdit* lineEdit(QWidget* parent, int width, const char* name = "") {
    auto* e = new NumberBox(parent);
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

}  // namespace

// ---------------------------------------------------------------- building

void FormTrafoBerechnung::build() {
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);

    frameCalculate_ = buildCalculateFrame();
    frameNorm_ = buildNormFrame();
    frameStandards_ = buildStandardsFrame();
    frameControl_ = buildControlFrame();
    QFont narrow = small;
    narrow.setPointSizeF(7);
    for (QWidget* w : {static_cast<QWidget*>(frameNorm_), static_cast<QWidget*>(frameStandards_),
                       static_cast<QWidget*>(frameControl_)})
        w->setFont(narrow);

    table_ = new PointTable(job_, events_, this);
    table_->setToolTip(kTableTooltip);

    frameStatistics_ = new QGroupBox("Statistics", this);
    frameStatistics_->setObjectName("Frame1");

    // The caption is wider than the button: it wraps onto two lines inside it.
    copyForm_ = new QPushButton(this);
    copyForm_->setObjectName("TestButton");
    copyForm_->setAccessibleName("copy this Form to clipboad");
    auto* copyCaption = new QLabel("copy this Form to clipboad", copyForm_);
    copyCaption->setObjectName("TestButtonCaption");
    copyCaption->setWordWrap(true);
    copyCaption->setAlignment(Qt::AlignCenter);
    copyCaption->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* copyLayout = new QVBoxLayout(copyForm_);
    copyLayout->setContentsMargins(2, 2, 2, 2);
    copyLayout->addWidget(copyCaption);
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

    // The frames keep their design places and heights. Where the main window's work area is
    // smaller than they need, the window shows them through scroll bars of its own, so that
    // Calculate, the statistics and Close stay in reach and the work area need not scroll.
    canvas_ = new QWidget;
    canvas_->setObjectName("CalculationCanvas");
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != statusBar_) w->setParent(canvas_);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("CalculationScroll");
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setWidget(canvas_);
    canvas_->installEventFilter(this);
    setProperty(kScrollsInsideProperty, true);

    place(frameCalculate_, 120, 120, 7875, 8280);
    place(table_, 8040, 120, 7455, 8280);
    place(frameNorm_, 15600, 0, 1755, 1215);
    place(frameStandards_, 15600, 1320, 1755, 1788);
    place(frameControl_, 15600, 3240, 1755, 5145);
    place(frameStatistics_, 120, 8520, 15240, 2175);
    place(copyForm_, 15840, 8760, 1290, 735);
    place(close_, 15840, 10080, 1290, 375);
    resize(twipsToPixels(17610, logicalDpiX()), twipsToPixels(12360, logicalDpiY()));
    // The frames keep their heights, so a shorter canvas would hide the statistics; the window
    // scrolls to them instead.
    canvas_->setMinimumHeight(twipsToPixels(8520 + 2175 + 60, logicalDpiY()));
    setMinimumSize(kScrollingMinimumWidth, kScrollingMinimumHeight);
    updateMinimumWidth();
}

void FormTrafoBerechnung::updateMinimumWidth() {
    // A narrower canvas would push the right column, and with it Calculate and STOP, out of view,
    // or draw the buttons under it over the statistics; a narrower window scrolls to them.
    const int least = twipsToPixels(minimumClientWidth({}, statisticsMinimumTwips()), logicalDpiX());
    if (canvas_->minimumWidth() != least) {
        canvas_->setMinimumWidth(least);
        updateGeometry();  // the size that shows everything changed with it
    }
}

QSize FormTrafoBerechnung::sizeHint() const {
    if (!canvas_ || !statusBar_) return QWidget::sizeHint();
    return canvas_->minimumSize() + QSize(0, statusBar_->sizeHint().height());
}

double FormTrafoBerechnung::statisticsMinimumTwips() const {
    // Its boxes at their natural widths, so no number is squeezed.
    if (!frameStatistics_ || !frameStatistics_->layout()) return 0;
    return pixelsToTwips(frameStatistics_->sizeHint().width(), logicalDpiX());
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
    QPalette red = rDataKnown_->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    rDataKnown_->setPalette(red);
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
        label->setObjectName(QStringLiteral("Label") + vectorLabels[k]);  // its tooltip shows the change
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

}  // namespace kal
