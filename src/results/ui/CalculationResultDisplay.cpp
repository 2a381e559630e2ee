#include "results/ui/CalculationResultDisplay.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QSignalBlocker>
#include <QTimer>

#include "engine/InverseTrafo.h"
#include "results/CalculationReport.h"
#include "shared/ui/NumberBox.h"

namespace kal {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }
QString q(const std::string& s) { return QString::fromStdString(s); }

struct StatNames {
    const char* caption;
    const char* box;
    const char* green;
    const char* red;
};
constexpr std::array<StatNames, kStatCount> kStatNames{{
    {"s0 Standard Deviation of p=1 [sigma 0]", "TextS0", "ArrGreenS0", "ArrRedS0"},
    {"sigma xyz", "TextSxyz", "ArrGreenSigmaxyz", "ArrRedSigmaxyz"},
    {"sigma x", "TextSx", "ArrGreenSigmax", "ArrRedSigmax"},
    {"sigma y", "TextSy", "ArrGreenSigmay", "ArrRedSigmay"},
    {"sigma z", "TextSz", "ArrGreenSigmaz", "ArrRedSigmaz"},
    {"max dev xyz", "TextMaxDevxyz", "ArrGreenMaxDevxyz", "ArrRedMaxDevxyz"},
    {"max dev x", "TextMaxDevX", "ArrGreenMaxDevX", "ArrRedmaxdevx"},
    {"min dev x", "TextMinDevX", "ArrGreenMinDevx", "ArrRedmindevx"},
    {"max dev y", "TextMaxDevY", "ArrGreenMaxDevy", "ArrRedmaxdevy"},
    {"min dev y", "TextMinDevY", "ArrGreenMinDevy", "ArrRedmindevy"},
    {"max dev z", "TextMaxDevZ", "ArrGreenMaxDevz", "ArrRedmaxdevz"},
    {"min dev z", "TextMinDevZ", "ArrGreenMinDevz", "ArrRedmindevz"},
    {"max-min x", "TextMaxMinX", "ArrGreenmaxminx", "ArrRedmaxminx"},
    {"max-min y", "TextMaxMinY", "ArrGreenmaxminy", "ArrRedmaxminy"},
    {"max-min z", "TextMaxMinZ", "ArrGreenmaxminz", "ArrRedmaxminz"},
}};

constexpr std::array<const char*, kExtremeCount> kNameBoxes{
    "TextMaxDevXYZPkt", "TextMaxDevXPkt", "TextMinDevXPkt", "TextMaxDevYPkt",
    "TextMinDevYPkt",   "TextMaxDevZPkt", "TextMinDevZPkt"};

// Object names of a parameter row's sigma and significance boxes, by slot.
constexpr std::array<std::pair<const char*, const char*>, kParamCount + 1> kSigmaNames{{
    {"", ""},
    {"TextSigmaTransX", "TextSignifikanzTransX"},
    {"TextSigmaTransY", "TextSignifikanzTransY"},
    {"TextSigmaTransZ", "TextSignifikanzTransZ"},
    {"TextSigmaRotX", "TextSignifikanzRotX"},
    {"TextSigmaRotY", "TextSignifikanzRotY"},
    {"TextSigmaRotZ", "TextSignifikanzRotZ"},
    {"TextSigmaScaleX", "TextSignifikanzScaleX"},
    {"TextSigmaScaleY", "TextSignifikanzScaleY"},
    {"TextSigmaScaleZ", "TextSignifikanzScaleZ"},
    {"TextSigmaScaleXYZ", "TextSignifikanzScaleXYZ"},
    {"TextSigmaXY", "TextSignifikanzXY"},
    {"TextSigmaAzimuth", "TextSignifikanzAzimuth"},
    {"TextSigmaZtoXY", "TextSignifikanzZtoXY"},
    {"TextSigmaRDist", "TextSignifikanzRDist"},
    {"TextSigmaRvec_x", "TextSignifikanzRvec_x"},
    {"TextSigmaRvec_y", "TextSignifikanzRvec_y"},
    {"TextSigmaRvec_z", "TextSignifikanzRvec_z"},
}};

// Controls whose tooltip shows a parameter's change: check boxes, the vector rows' labels.
constexpr std::array<const char*, kParamCount + 1> kChangeTipControls{"",
                                                                      "CheckTraX",
                                                                      "CheckTraY",
                                                                      "CheckTraZ",
                                                                      "CheckRotX",
                                                                      "CheckRotY",
                                                                      "CheckRotZ",
                                                                      "CheckScaleX",
                                                                      "CheckScaleY",
                                                                      "CheckScaleZ",
                                                                      "CheckScaleXYZ",
                                                                      "CheckXY",
                                                                      "CheckAzimuth",
                                                                      "CheckZtoXY",
                                                                      "CheckRDist",
                                                                      "Labelvec_x",
                                                                      "Labelvec_y",
                                                                      "Labelvec_z"};
constexpr std::array<const char*, 4> kScaleBoxes{"TextScaleX", "TextScaleY", "TextScaleZ", "TextScaleXYZ"};

// A small arrow: green pointing down (the value fell), red pointing up.
QPixmap arrowPicture(bool green) {
    QPixmap pixmap(12, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colour = green ? QColor(0, 160, 0) : QColor(220, 0, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath path;
    if (green) {
        path.addRect(4, 1, 4, 8);
        path.moveTo(0, 8), path.lineTo(12, 8), path.lineTo(6, 15), path.closeSubpath();
    } else {
        path.addRect(4, 7, 4, 8);
        path.moveTo(0, 8), path.lineTo(12, 8), path.lineTo(6, 1), path.closeSubpath();
    }
    p.drawPath(path.simplified());
    return pixmap;
}

QLineEdit* readOnlyBox(QWidget* parent, const char* name, int width) {
    auto* e = new NumberBox(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setFixedSize(width, 20);
    return e;
}

}  // namespace

CalculationResultDisplay::CalculationResultDisplay(JobState& job, JobEvents& events, QWidget& window,
                                                   SigmaBoxes sigmaBoxes, ParameterPanel& panel,
                                                   const CalcResults& results,
                                                   std::function<void()> showPanel,
                                                   platform::Services services)
    : QObject(&window),
      job_(job),
      window_(window),
      sigmaBoxes_(sigmaBoxes),
      panel_(panel),
      results_(results),
      showPanel_(std::move(showPanel)),
      services_(services) {
    setObjectName("CalculationResultDisplay");
    for (int slot = 1; slot <= kParamCount; ++slot) {
        auto [sigma, significance] = sigmaBoxes_[at(slot)];
        if (sigma) sigma->setObjectName(kSigmaNames[at(slot)].first);
        if (significance) significance->setObjectName(kSigmaNames[at(slot)].second);
    }
    if (auto* frame = window_.findChild<QGroupBox*>("Frame1")) buildStatisticsFrame(frame);
    // A calculation hides the arrows first, so each shows this calculation's comparison; a
    // change of units compares again without hiding (a green arrow may stay beside a red one).
    subscriptions_.push_back(events.subscribe(JobEvent::ResultsChanged, Subscriber::ResultDisplay, [this] {
        resetArrows();
        showResults(true);
    }));
    subscriptions_.push_back(
        events.subscribe(JobEvent::UnitsChanged, Subscriber::ResultDisplay, [this] { showResults(false); }));
}

CalculationResultDisplay::~CalculationResultDisplay() { subscriptions_.clear(); }

void CalculationResultDisplay::buildStatisticsFrame(QGroupBox* frame) {
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(2);
    const QPixmap green = arrowPicture(true), red = arrowPicture(false);
    // One cell: caption, box and the arrow pair stacked in one place.
    auto addQuantity = [&](int quantity, int row, int column) {
        const StatNames& n = kStatNames[at(quantity)];
        auto* caption = new QLabel(n.caption, frame);
        grid->addWidget(caption, row, column);
        QLineEdit* box = readOnlyBox(frame, n.box, 68);
        grid->addWidget(box, row, column + 1);
        auto* g = new QLabel(frame);
        g->setObjectName(n.green);
        g->setPixmap(green);
        auto* r = new QLabel(frame);
        r->setObjectName(n.red);
        r->setPixmap(red);
        g->setFixedSize(12, 16), r->setFixedSize(12, 16);
        g->setVisible(false), r->setVisible(false);
        grid->addWidget(g, row, column + 2);
        grid->addWidget(r, row, column + 2);
        boxes_[at(quantity)] = box;
        green_[at(quantity)] = g;
        red_[at(quantity)] = r;
    };
    auto addName = [&](int extreme, int row, int column) {
        QLineEdit* box = readOnlyBox(frame, kNameBoxes[at(extreme)], 58);
        box->setToolTip("Double Click to unuse Point");
        box->installEventFilter(this);
        grid->addWidget(box, row, column);
        names_[at(extreme)] = box;
    };
    // Columns: the sigmas; then x, y, z with max, min (each with its point) and max-min; the 3-D
    // maximum under x.
    for (int k = 0; k < 5; ++k) addQuantity(kStatS0 + k, k, 0);
    for (int a = 0; a < 3; ++a) {
        const int column = 4 + 5 * a;
        addQuantity(kStatMaxX + 2 * a, 0, column);
        addName(kExtMaxX + 2 * a, 0, column + 3);
        addQuantity(kStatMinX + 2 * a, 1, column);
        addName(kExtMinX + 2 * a, 1, column + 3);
        addQuantity(kStatSpreadX + a, 2, column);
    }
    addQuantity(kStatMaxXyz, 4, 4);
    addName(kExtMaxXyz, 4, 7);
    for (int c : {3, 8, 13}) grid->setColumnMinimumWidth(c, 10);
    grid->setColumnStretch(19, 1);
    grid->setRowStretch(5, 1);
}

bool CalculationResultDisplay::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick)
        for (int e = 0; e < kExtremeCount; ++e)
            if (watched == names_[at(e)]) {
                emit extremeNameDoubleClicked(e, names_[at(e)]->text());
                return true;  // a read-only box has nothing to select
            }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------- the display

void CalculationResultDisplay::showResults(bool afterCalculation) {
    DisplayInput in;
    in.results = &results_;
    in.ticks = ticksOf(panel_);
    in.afterCalculation = afterCalculation;
    const ResultDisplay d = kal::showResults(job_, in, prev_);
    applyParameters(d);
    applyStatistics(d);
    // The clipboard report needs an adjustment of this window; a change of units before any
    // calculation puts nothing there.
    if (d.statistics) applyClipboard(d, in.ticks);
    if (d.seedEnabled) panel_.setSeedButtonEnabled(true);
    if (showPanel_) showPanel_();
}

void CalculationResultDisplay::applyParameters(const ResultDisplay& d) {
    std::vector<std::pair<int, std::string>> values;
    for (int slot = 1; slot <= kParamCount; ++slot) {
        const ParameterTexts& t = d.params[at(slot)];
        if (t.value) values.emplace_back(slot, *t.value);
        if (t.changeTip)
            if (auto* w = window_.findChild<QWidget*>(kChangeTipControls[at(slot)]))
                w->setToolTip(q(*t.changeTip));
        const auto [sigma, significance] = sigmaBoxes_[at(slot)];
        if (t.sigma && sigma) sigma->setText(q(*t.sigma));
        if (t.significance && significance) significance->setText(q(*t.significance));
    }
    for (int k = 0; k < 4; ++k)
        if (const auto& tip = d.params[at(kScaleX + k)].scaleTip)
            if (auto* box = window_.findChild<QLineEdit*>(kScaleBoxes[at(k)])) box->setToolTip(q(*tip));
    applyValueTexts(values);
}

// The panel owns the value texts; while the calculation that produced them still holds the panel
// (its results are being delivered), the texts are written as soon as it lets go.
void CalculationResultDisplay::applyValueTexts(const std::vector<std::pair<int, std::string>>& texts) {
    if (texts.empty()) return;
    if (panel_.locked()) {
        QTimer::singleShot(0, this, [this, texts] { applyValueTexts(texts); });
        return;
    }
    for (const auto& [slot, text] : texts) panel_.setValueText(slot, text);
    if (showPanel_) showPanel_();
}

void CalculationResultDisplay::applyStatistics(const ResultDisplay& d) {
    if (!d.statistics || !boxes_[0]) return;
    for (int k = 0; k < kStatCount; ++k) {
        boxes_[at(k)]->setText(q(d.statisticsText[at(k)]));
        const Arrow arrow = d.statistics->arrow[at(k)];
        // Never hides: only a calculation's ResetArrows does.
        if (arrow == Arrow::Green) green_[at(k)]->setVisible(true);
        if (arrow == Arrow::Red) red_[at(k)]->setVisible(true);
    }
    for (int e = 0; e < kExtremeCount; ++e) names_[at(e)]->setText(q(d.extremeName[at(e)]));
    // Under L1 and minimax the sigmas stay empty; their boxes say why.
    const QString tip = q(d.sigmaTooltip);
    for (int k : kSigmaStatistics) boxes_[at(k)]->setToolTip(tip);
    // A value the points leave open has empty sigma boxes too, with its own reason.
    for (int slot = 1; slot <= kParamCount; ++slot) {
        const auto& own = d.params[at(slot)].sigmaTip;
        for (QLineEdit* box : {sigmaBoxes_[at(slot)].first, sigmaBoxes_[at(slot)].second})
            if (box) box->setToolTip(own ? q(*own) : tip);
    }
}

void CalculationResultDisplay::applyClipboard(const ResultDisplay& d, const DisplayTicks& ticks) {
    ClipboardOutput out = clipboardOutput(job_, ticks, d);
    if (out.rotationTexts) {
        std::vector<std::pair<int, std::string>> texts;
        for (int k = 0; k < 3; ++k) texts.emplace_back(kRotX + k, (*out.rotationTexts)[at(k)]);
        applyValueTexts(texts);
    }
    if (out.text && services_.clipboard) {
        services_.clipboard->clear();
        if (!out.text->empty()) services_.clipboard->setText(*out.text);
    }
    if (out.noInverse && services_.prompter) services_.prompter->message(kNoInverseSolutionMessage);
}

void CalculationResultDisplay::resetArrows() {
    for (int k = 0; k < kStatCount; ++k) {
        if (green_[at(k)]) green_[at(k)]->setVisible(false);
        if (red_[at(k)]) red_[at(k)]->setVisible(false);
    }
}

void CalculationResultDisplay::resetDisplay() {
    for (int slot = kTraX; slot <= kRDist; ++slot)
        for (QLineEdit* box : {sigmaBoxes_[at(slot)].first, sigmaBoxes_[at(slot)].second})
            if (box) box->clear();
    if (!boxes_[0]) return;
    for (int k : {kStatMaxXyz, kStatSx, kStatSy, kStatSz, kStatMaxX, kStatMaxY, kStatMaxZ, kStatMinX,
                  kStatMinY, kStatMinZ, kStatSpreadX, kStatSpreadY, kStatSpreadZ})
        boxes_[at(k)]->clear();
}

void CalculationResultDisplay::showStepSigmas(double s0, double sigmaXyz) {
    if (!boxes_[0]) return;
    if (auto t = lengthText(job_, s0)) boxes_[kStatS0]->setText(q(*t));
    if (auto t = lengthText(job_, sigmaXyz)) boxes_[kStatSigmaXyz]->setText(q(*t));
}

}  // namespace kal
