#include "details/ui/FormTrafoDetails.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/InverseTrafo.h"
#include "platform/Clipboard.h"
#include "shared/ui/WindowPosQt.h"

namespace kal {

namespace {

struct PanelDesign {
    const char* caption;
    const char* gridName;
    const char* buttonName;
    std::array<int, 4> widths;  // twips; 0 = not set
};

// Panel captions, grid and button names, and column widths (twips) of the twelve tables.
constexpr std::array<PanelDesign, 12> kPanels{{
    {"Rotationsmatrix R", "GridRotMatrix", "BtnClipR", {1000, 1000, 1000, 0}},
    {"Rotation for Order x, y', z'' - same as main sheet",
     "GridRotXYZ",
     "BtnClipRotXYZ",
     {600, 1300, 1300, 0}},
    {"Rotation for Order z, y' and x''", "GridRotZYX", "BtnClipRotZYX", {600, 1300, 1300, 0}},
    {"Rotation for Order z, x' and y''", "GridRotZXY", "BtnClipRotZXY", {600, 1300, 1300, 0}},
    {"Rotation for Order z, x', z'' = Eulerian Angle", "GridRotZXZ", "BtnClipRotZXZ", {600, 1300, 1300, 0}},
    {"Rotation for Order z, y', z'' = Eulerian Angle", "GridRotZYZ", "BtnClipRotZYZ", {600, 1300, 1300, 0}},
    {"Homogeneous Transformation Matrix", "GridHomogen", "BtnClipHomogen", {1000, 1000, 1000, 1000}},
    {"Affine Matrix", "GridAffineMatrix", "Command1", {1000, 1000, 1000, 0}},
    {"Scale Matrix", "GridScaleMatrix", "Command2", {1000, 1000, 1000, 0}},
    {"Inverse Transformation Parameters", "GridInverse", "Command3", {0, 0, 0, 0}},
    {"Quaternions and more ...", "GridQuat", "BtnClipQuat", {1000, 1500, 0, 0}},
    {"last done MonteCarlo - sigma of parameter", "GridMonteCarlo", "BtnClipMonteCarlo", {1350, 1100, 0, 0}},
}};

constexpr const char* kQuatLabel =
    "qw, qx, qy and qz is the Quaternion of the done Rotation calculated from the Rotation Matrix. \n"
    "Angel of Rot is the Rotation around the Vector Vec x; Vec y and Vec z, calculated from the Quaternion\n"
    "Rot x; Rot y' and Rot z'' is the Rotation calculated from the Quaternion";

int twipsToPixels(const QWidget* w, int twips) { return twips * std::max(w->logicalDpiX(), 96) / 1440; }

const TextTable& tableOf(const DetailsFigures& f, std::size_t i) {
    switch (i) {
        case 0:
            return f.rotationGrid;
        case 6:
            return f.homogeneousGrid;
        case 7:
            return f.affineGrid;
        case 8:
            return f.scaleGrid;
        case 9:
            return f.inverseGrid;
        case 10:
            return f.quaternionGrid;
        case 11:
            return f.monteCarloGrid;
        default:
            return f.sequenceGrids[i - 1];
    }
}

}  // namespace

FormTrafoDetails::FormTrafoDetails(JobState& job, platform::Services services, DetailsWindowServices hooks,
                                   QWidget* parent)
    : QWidget(parent),
      job_(job),
      services_(services),
      hooks_(std::move(hooks)),
      figures_(emptyDetails()),
      copier_(figures_, job_, *services.clipboard) {
    setObjectName("FormTrafoDetails");
    setWindowTitle("Transformation Details ...");
    job_.MatrixFormat = "0.00000000";
    build();
    {
        const QSignalBlocker block(check1_);
        check1_->setChecked(job_.CheckForGimbalLock);
    }
    showFigures();
    if (job_.TrafoCalculated) fill();
}

FormTrafoDetails::~FormTrafoDetails() = default;

void FormTrafoDetails::build() {
    // The panels are never squeezed below what they need (a squeezed panel would paint its texts
    // over its grid). Where the main window's work area is smaller, the window shows them through
    // scroll bars of its own, its buttons below them in view, so the work area need not scroll.
    canvas_ = new QWidget;
    canvas_->setObjectName("DetailsCanvas");
    auto* outer = new QVBoxLayout(canvas_);
    outer->setSizeConstraint(QLayout::SetMinimumSize);
    auto* columns = new QGridLayout;
    outer->addLayout(columns);
    // Four columns of panels: matrices, sequences, quaternion and inverse, Monte Carlo.
    struct Place {
        int row, column, rowSpan;
    };
    const std::array<Place, 12> place{{{0, 0, 1},
                                       {0, 1, 1},
                                       {1, 1, 1},
                                       {2, 1, 1},
                                       {3, 1, 1},
                                       {4, 1, 1},
                                       {1, 0, 1},
                                       {2, 0, 1},
                                       {3, 0, 1},
                                       {2, 2, 3},
                                       {0, 2, 2},
                                       {0, 3, 5}}};
    for (std::size_t i = 0; i < kPanels.size(); ++i) {
        const PanelDesign& d = kPanels[i];
        auto* panel = new QGroupBox(QString::fromUtf8(d.caption), this);
        auto* layout = new QGridLayout(panel);
        auto* grid = new DataGrid(panel);
        grid->setObjectName(d.gridName);
        grid->horizontalHeader()->hide();
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->setSource(&tableOf(figures_, i));
        layout->addWidget(grid, 0, 0);
        auto* clip = new QPushButton("clip", panel);
        clip->setObjectName(d.buttonName);
        clip->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        layout->addWidget(clip, 0, 1, Qt::AlignTop);
        if (i == 10) {
            labelQuat_ = new QLabel(QString::fromUtf8(kQuatLabel), panel);
            labelQuat_->setObjectName("LabelQuat");
            labelQuat_->setWordWrap(true);
            // A wrapped label inside nested grid layouts gets no height for its width, and the
            // panel would then paint it over the grid's last rows: its size is fixed here.
            const int labelWidth = labelQuat_->fontMetrics().averageCharWidth() * 48;
            labelQuat_->setFixedWidth(labelWidth);
            labelQuat_->setMinimumHeight(labelQuat_->heightForWidth(labelWidth));
            layout->addWidget(labelQuat_, 1, 0, 1, 2);
        }
        connect(clip, &QPushButton::clicked, this, [this, i] { copyTable(static_cast<int>(i)); });
        grids_[i] = grid;
        clips_[i] = clip;
        columns->addWidget(panel, place[i].row, place[i].column, place[i].rowSpan, 1, Qt::AlignTop);
    }

    buttons_ = new QWidget(this);
    auto* bottom = new QHBoxLayout(buttons_);
    check1_ = new QCheckBox("Check for Gimbal Lock (border is set under Extras - Options - Tab More Settings",
                            this);
    check1_->setObjectName("Check1");
    clipAll_ = new QPushButton("clip &all", this);
    clipAll_->setObjectName("BtnClipALL");
    ok_ = new QPushButton("&Close", this);
    ok_->setObjectName("BtnOK");
    bottom->addWidget(check1_);
    bottom->addStretch();
    bottom->addWidget(clipAll_);
    bottom->addWidget(ok_);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("DetailsScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(canvas_);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setSpacing(0);
    window->addWidget(scroll, 1);
    window->addWidget(buttons_);
    setProperty(kScrollsInsideProperty, true);

    connect(check1_, &QCheckBox::toggled, this, &FormTrafoDetails::onGimbalLockToggled);
    connect(clipAll_, &QPushButton::clicked, this, [this] { copier_.copyAll(); });
    connect(ok_, &QPushButton::clicked, this, &FormTrafoDetails::onClose);
}

QSize FormTrafoDetails::sizeHint() const {
    if (!canvas_ || !buttons_) return QWidget::sizeHint();
    const QSize panels = canvas_->sizeHint().expandedTo(canvas_->minimumSize());
    const QSize row = buttons_->sizeHint();
    return {std::max(panels.width(), row.width()), panels.height() + row.height()};
}

void FormTrafoDetails::fill() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct RestoreCursor {
        ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restore;
    figures_ = computeDetails(job_);
    showFigures();
    if (!figures_.inverseFound && !noInverseShown_ && services_.prompter) {
        noInverseShown_ = true;
        services_.prompter->message(kNoInverseSolutionMessage);
    }
}

void FormTrafoDetails::showFigures() {
    // The tables are replaced whole (the inverse table changes its shape): a reset of each model.
    for (std::size_t i = 0; i < grids_.size(); ++i) {
        grids_[i]->setSource(&tableOf(figures_, i));
        grids_[i]->gridModel().reset();
        setColumnWidths(i);
    }
}

void FormTrafoDetails::setColumnWidths(std::size_t i) {
    // The design widths, widened where a text would not fit: the tables hold a few cells each, and
    // an eight-decimal matrix cell cut to "0.0000..." helps nobody.
    DataGrid* grid = grids_[i];
    const TextTable& table = tableOf(figures_, i);
    const QFontMetrics plain(grid->font());
    QFont boldFont = grid->font();
    boldFont.setBold(true);
    const QFontMetrics bold(boldFont);
    for (std::int32_t c = 0; c < table.columnCount(); ++c) {
        const int design = c < 4 ? kPanels[i].widths[static_cast<std::size_t>(c)] : 0;
        int width = design > 0 ? twipsToPixels(this, design) : 0;
        for (std::int32_t r = 0; r < table.rowCount(); ++r) {
            const QString text = QString::fromStdString(table.cell(r, c));
            width = std::max(width, (table.bold(r, c) ? bold : plain).horizontalAdvance(text) + 12);
        }
        grid->horizontalHeader()->resizeSection(c, std::max(width, 24));
    }
    // Every row and column in view: the tables are small and fixed in shape.
    const int frame = 2 * grid->frameWidth();
    grid->setFixedHeight(table.rowCount() * grid->fixedRowHeight() + frame);
    grid->setFixedWidth(grid->horizontalHeader()->length() + frame);
}

void FormTrafoDetails::copyTable(int table) {
    switch (table) {
        case 0:
            copier_.copyRotation();
            break;
        case 6:
            copier_.copyHomogeneous();
            break;
        case 7:
            copier_.copyAffine();
            break;
        case 8:
            copier_.copyScale();
            break;
        case 9:
            copier_.copyInverse();
            break;
        case 10:
            copier_.copyQuaternion();
            break;
        case 11:
            copier_.copyMonteCarlo();
            break;
        default:
            copier_.copySequence(kAngleSequences[static_cast<std::size_t>(table - 1)]);
            break;
    }
}

void FormTrafoDetails::onGimbalLockToggled(bool ticked) {
    job_.CheckForGimbalLock = ticked;
    if (job_.TrafoCalculated) fill();
}

void FormTrafoDetails::onClose() {
    // Only "&Close" stores the gimbal-lock setting; other ways of closing keep it in memory.
    if (hooks_.writeSetting)
        hooks_.writeSetting("Settings", "CheckForGimbalLock", job_.CheckForGimbalLock ? "True" : "False");
    close();
}

void FormTrafoDetails::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (e->isAccepted() && !closedSent_) {
        closedSent_ = true;
        emit closed();
    }
}

}  // namespace kal
