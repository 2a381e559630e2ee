#include "input/ui/FormInputFiles.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QResizeEvent>
#include <QSignalBlocker>

#include "shared/WindowPos.h"
#include "shared/ui/NumberBox.h"

namespace kal {

namespace T = input_files_text;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& q) { return q.toStdString(); }

// The design's vertical positions (twips): frames, and the rows inside the file frames.
constexpr double kFrameLeft = 120;
constexpr double kMcsTop = 120, kMcsHeight = 1290;
constexpr double kOcsTop = 1500, kOcsHeight = 1740;
constexpr double kAutoFindTop = 3360, kAutoFindWidth = 7980, kAutoFindHeight = 2490;
constexpr double kMoreTop = 5970, kMoreHeight = 1740;
constexpr double kPathTop = 300, kButtonRowTop = 720, kThirdRowTop = 1200;
constexpr double kButtonWidth = 1095, kButtonHeight = 375, kBoxHeight = 315;
constexpr double kMainButtonsLeft = 8220, kMainButtonWidth = 1095;
// The client size of the design: the buttons' right edge and the lowest frame's bottom, each with
// the design's margin.
constexpr double kDesignWidth = 9420, kDesignHeight = 7850;

void setIfChanged(QLineEdit* e, const std::string& text) {
    const QString t = q(text);
    if (e->text() != t) e->setText(t);
}

void setCheckedIfChanged(QAbstractButton* b, bool checked) {
    if (b->isChecked() != checked) b->setChecked(checked);
}

void setEnabledIfChanged(QWidget* w, bool enabled) {
    if (w->isEnabled() != enabled) w->setEnabled(enabled);
}

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QGroupBox* redFrame(QWidget* parent, const char* name, const char* caption) {
    auto* f = new QGroupBox(QString::fromUtf8(caption), parent);
    f->setObjectName(name);
    return f;
}

}  // namespace

FormInputFiles::FormInputFiles(JobState& job, InputFilesWindowServices services, QWidget* parent)
    : QWidget(parent), job_(job), services_(std::move(services)) {
    setObjectName("FormInputFiles");
    setWindowTitle(T::kCaption);
    setAttribute(Qt::WA_DeleteOnClose, false);  // the owner (an MDI sub-window or a test) deletes it
    build();
    connectControls();
    // The design's client size; the settings' position and size come from the owner.
    resize(minimumSizeHint());
    refill();
}

FormInputFiles::~FormInputFiles() = default;

QSize FormInputFiles::minimumSizeHint() const {
    return {twipsToPixels(kDesignWidth, logicalDpiX()), twipsToPixels(kDesignHeight, logicalDpiY())};
}

// ---------------------------------------------------------------- building

QGroupBox* FormInputFiles::buildFileFrame(const char* name, const char* caption, PathRow& row,
                                          const char* const names[5]) {
    QGroupBox* f = redFrame(this, name, caption);
    row.path = new QLineEdit(f);
    row.path->setObjectName(names[0]);
    row.browse = button(f, names[1], T::kBrowse);
    row.explorer = button(f, names[2], T::kExplorer);
    row.explorer->setToolTip(T::kExplorerTip);
    row.edit = button(f, names[3], T::kEdit);
    row.clipboard = button(f, names[4], T::kFromClipboard);
    place(row.browse, 120, kButtonRowTop, kButtonWidth, kButtonHeight);
    place(row.explorer, 1320, kButtonRowTop, kButtonWidth, kButtonHeight);
    place(row.edit, 2520, kButtonRowTop, kButtonWidth, kButtonHeight);
    place(row.clipboard, 3720, kButtonRowTop, 1695, kButtonHeight);
    return f;
}

void FormInputFiles::build() {
    // The design's captions are measured for a small dialog font; the frames' captions are red,
    // but for the matching frame's.
    setStyleSheet(
        "QWidget { font-size: 8pt; } "
        "QGroupBox#FrameMCSFile::title, QGroupBox#FrameOCSFile::title, "
        "QGroupBox#FrameMoreMCS::title { color: red; }");

    static const char* const kMcsNames[5] = {"TextNameMCS", "BtnBrowseMCS", "BtnExploreMCS", "BtnEditMCS",
                                             "BtnMCSfromClip"};
    frameMcs_ = buildFileFrame("FrameMCSFile", T::kFrameMcs, mcs_, kMcsNames);
    renameMcsLabel_ = new QLabel(T::kRenameMcs, frameMcs_);
    renameMcsLabel_->setObjectName("Label1");
    renameMcs_ = new QLineEdit(frameMcs_);
    renameMcs_->setObjectName("TextRenameMCS");
    place(renameMcsLabel_, 5580, kButtonRowTop + 60, 1260, 255);
    place(renameMcs_, 6900, kButtonRowTop + 30, 1800, kBoxHeight);

    static const char* const kOcsNames[5] = {"TextNameOCS", "ButtonBrowseOCS", "BtnExploreOCS", "BtnEditOCS",
                                             "BtnOCSfromClip"};
    frameOcs_ = buildFileFrame("FrameOCSFile", T::kFrameOcs, ocs_, kOcsNames);
    renameOcsLabel_ = new QLabel(T::kRenameOcs, frameOcs_);
    renameOcsLabel_->setObjectName("Label2");
    renameOcs_ = new QLineEdit(frameOcs_);
    renameOcs_->setObjectName("TextRenameOCS");
    place(renameOcsLabel_, 5580, kButtonRowTop + 60, 1260, 255);
    place(renameOcs_, 6900, kButtonRowTop + 30, 1800, kBoxHeight);
    formatLabel_ = new QLabel(T::kInformation, frameOcs_);
    formatLabel_->setObjectName("Label3");
    format_ = new QComboBox(frameOcs_);
    format_->setObjectName("ComboOCS_Data");
    for (const char* entry : kOcsFormatEntries) format_->addItem(QString::fromUtf8(entry));
    place(formatLabel_, 120, kThirdRowTop + 60, 2340, 255);
    place(format_, 2520, kThirdRowTop, 6180, 345);

    frameAutoFind_ = new QGroupBox(T::kFrameAutoFind, this);
    frameAutoFind_->setObjectName("FrameAutoFind");
    byId_ = new QRadioButton(T::kById, frameAutoFind_);
    byId_->setObjectName("OptionByID");
    byDistance_ = new QRadioButton(T::kByDistance, frameAutoFind_);
    byDistance_->setObjectName("OptionByDis");
    useOnlyFirst_ = new QCheckBox(frameAutoFind_);  // no caption of its own: the label beside it
    useOnlyFirst_->setObjectName("CheckUseOnlyFirst");
    maxOcsLabel1_ = new QLabel(T::kUseOnlyFirst, frameAutoFind_);
    maxOcsLabel1_->setObjectName("LabelMaxOCS1");
    maxOcs_ = new NumberBox(frameAutoFind_);
    maxOcs_->setObjectName("TextMaxOCS");
    maxOcsLabel2_ = new QLabel(T::kPointsForAutoFind, frameAutoFind_);
    maxOcsLabel2_->setObjectName("LabelMaxOCS2");
    byCoordinate_ = new QRadioButton(T::kByCoordinate, frameAutoFind_);
    byCoordinate_->setObjectName("OptionByCoordinate");
    renamePointsMcs_ = new QCheckBox(T::kRenamePointsMcs, frameAutoFind_);
    renamePointsMcs_->setObjectName("CheckRenameMCS");
    renamePointsOcs_ = new QCheckBox(T::kRenamePointsOcs, frameAutoFind_);
    renamePointsOcs_->setObjectName("CheckRenameOCS");
    place(byId_, 120, 300, 7700, 270);
    place(byDistance_, 120, 630, 7700, 270);
    place(useOnlyFirst_, 420, 975, 270, 270);
    place(maxOcsLabel1_, 720, 990, 1680, 255);
    place(maxOcs_, 2430, 945, 720, 315);
    place(maxOcsLabel2_, 3240, 990, 3300, 255);
    place(byCoordinate_, 120, 1365, 7700, 270);
    place(renamePointsMcs_, 420, 1710, 7500, 270);
    place(renamePointsOcs_, 420, 2040, 7500, 270);
    place(frameAutoFind_, kFrameLeft, kAutoFindTop, kAutoFindWidth, kAutoFindHeight);

    ok_ = button(this, "BtnOK", T::kOk);
    apply_ = button(this, "BtnApply", T::kApply);
    cancel_ = button(this, "BtnCancel", T::kCancel);
    place(ok_, kMainButtonsLeft, kAutoFindTop + 120, kMainButtonWidth, kButtonHeight);
    place(apply_, kMainButtonsLeft, kAutoFindTop + 600, kMainButtonWidth, kButtonHeight);
    place(cancel_, kMainButtonsLeft, kAutoFindTop + 1080, kMainButtonWidth, kButtonHeight);

    static const char* const kMoreNames[5] = {"TextNameMoreMCS", "BtnBrowseMoreMCS", "BtnExploreMoreMCS",
                                              "BtnEditMoreMCS", "BtnMoreMCSClip"};
    frameMoreMcs_ = buildFileFrame("FrameMoreMCS", T::kFrameMoreMcs, moreMcs_, kMoreNames);
    import_ = button(frameMoreMcs_, "BtnImportMoreMCS", T::kImport);
    prefix_ = new QRadioButton(T::kPrefix, frameMoreMcs_);
    prefix_->setObjectName("OptionPrefix");
    suffix_ = new QRadioButton(T::kSuffix, frameMoreMcs_);
    suffix_->setObjectName("Option2");
    affix_ = new QLineEdit(frameMoreMcs_);
    affix_->setObjectName("TextPreSuff");
    place(import_, 120, kThirdRowTop, kButtonWidth, kButtonHeight);
    place(prefix_, 1320, kThirdRowTop + 45, 1095, 270);
    place(suffix_, 2520, kThirdRowTop + 45, 1095, 270);
    place(affix_, 3720, kThirdRowTop + 15, 1695, kBoxHeight);

    network_ = button(this, "Command2", T::kNetworkButton);
    network_->setVisible(false);

    layoutFrames();
}

void FormInputFiles::place(QWidget* w, double left, double top, double width, double height) {
    const double dpi = logicalDpiX();
    w->setGeometry(twipsToPixels(left, dpi), twipsToPixels(top, dpi), twipsToPixels(width, dpi),
                   twipsToPixels(height, dpi));
}

void FormInputFiles::layoutFrames() {
    if (!frameMoreMcs_) return;
    const double dpi = logicalDpiX();
    const InputFilesWidths w = inputFilesWidths(pixelsToTwips(width(), dpi));
    place(frameMcs_, kFrameLeft, kMcsTop, w.frames, kMcsHeight);
    place(frameOcs_, kFrameLeft, kOcsTop, w.frames, kOcsHeight);
    place(frameMoreMcs_, kFrameLeft, kMoreTop, w.frames, kMoreHeight);
    for (const PathRow* r : {&mcs_, &ocs_, &moreMcs_}) place(r->path, 120, kPathTop, w.pathBoxes, kBoxHeight);
}

void FormInputFiles::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const double dpi = logicalDpiX();
    const InputFilesWidths w = inputFilesWidths(pixelsToTwips(width(), dpi));
    const int wanted = twipsToPixels(w.window, dpi);
    if (wanted > width()) {
        // Too narrow: the window itself (its MDI frame, when it has one) becomes wider.
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->resize(sub->width() + wanted - width(), sub->height());
        else
            resize(wanted, height());
        return;  // the resize that follows lays the frames out
    }
    layoutFrames();
}

// ---------------------------------------------------------------- connecting

void FormInputFiles::connectPathRow(PathBox box) {
    const PathRow& r = row(box);
    connect(r.path, &QLineEdit::textEdited, this,
            [this, box](const QString& t) { model_.setPath(box, s(t)); });
    connect(r.browse, &QPushButton::clicked, this, [this, box] {
        if (services_.fileDialogs) model_.browse(box, job_, *services_.fileDialogs);
        apply();
    });
    connect(r.edit, &QPushButton::clicked, this, [this, box] {
        if (services_.openFile) services_.openFile(model_.editTarget(box));
    });
    connect(r.explorer, &QPushButton::clicked, this, [this, box] {
        if (services_.exploreFolder) services_.exploreFolder(model_.exploreTarget(box));
    });
    connect(r.clipboard, &QPushButton::clicked, this, [this, box] {
        if (services_.fromClipboard) services_.fromClipboard(box);
    });
}

void FormInputFiles::connectControls() {
    for (PathBox box : {PathBox::Mcs, PathBox::Ocs, PathBox::MoreMcs}) connectPathRow(box);
    connect(renameMcs_, &QLineEdit::textEdited, this, [this](const QString& t) { model_.setNameMcs(s(t)); });
    connect(renameOcs_, &QLineEdit::textEdited, this, [this](const QString& t) { model_.setNameOcs(s(t)); });
    connect(affix_, &QLineEdit::textEdited, this, [this](const QString& t) { model_.setAffix(s(t)); });
    connect(format_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (applying_) return;
        model_.selectFormat(index);
        apply();
    });
    auto method = [this](QRadioButton* b, PointMatchMethod m) {
        connect(b, &QRadioButton::toggled, this, [this, m](bool on) {
            if (!on || applying_) return;
            model_.chooseMethod(m);
            apply();
        });
    };
    method(byId_, PointMatchMethod::ByName);
    method(byDistance_, PointMatchMethod::ByDistances);
    method(byCoordinate_, PointMatchMethod::ByCoordinates);
    connect(useOnlyFirst_, &QCheckBox::toggled, this, [this](bool on) {
        if (applying_) return;
        model_.setUseOnlyFirst(on);
        apply();
    });
    connect(renamePointsMcs_, &QCheckBox::toggled, this, [this](bool on) {
        if (applying_) return;
        model_.setRenameMcs(on);
        apply();
    });
    connect(renamePointsOcs_, &QCheckBox::toggled, this, [this](bool on) {
        if (applying_) return;
        model_.setRenameOcs(on);
        apply();
    });
    connect(maxOcs_, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (applying_) return;
        model_.editMaxOcsText(s(t));
        apply();
    });
    connect(prefix_, &QRadioButton::toggled, this, [this](bool on) {
        if (!applying_) model_.setAffixIsPrefix(on);
    });
    connect(import_, &QPushButton::clicked, this, [this] {
        if (services_.importMoreMcs) services_.importMoreMcs();
    });
    connect(network_, &QPushButton::clicked, this, [this] {
        if (services_.fileDialogs) model_.browseNetworkFile(*services_.fileDialogs);
    });
    connect(ok_, &QPushButton::clicked, this, [this] { okClicked(); });
    connect(apply_, &QPushButton::clicked, this, [this] { runLoad(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { closeWindow(); });
}

// ---------------------------------------------------------------- state

void FormInputFiles::refill() {
    model_.open(job_);
    apply();
}

void FormInputFiles::setJobBusy(bool busy) {
    model_.setJobBusy(busy);
    apply();
}

void FormInputFiles::showPath(PathBox box, const std::string& path) {
    model_.setPath(box, path);
    apply();
}

void FormInputFiles::apply() {
    const InputFilesState& st = model_.state();
    applying_ = true;
    {
        const QSignalBlocker b1(format_), b2(byId_), b3(byDistance_), b4(byCoordinate_), b5(useOnlyFirst_),
            b6(renamePointsMcs_), b7(renamePointsOcs_), b8(maxOcs_), b9(prefix_), b10(suffix_);
        setIfChanged(mcs_.path, st.mcsPath);
        setIfChanged(ocs_.path, st.ocsPath);
        setIfChanged(moreMcs_.path, st.moreMcsPath);
        setIfChanged(renameMcs_, st.nameMcs);
        setIfChanged(renameOcs_, st.nameOcs);
        setIfChanged(maxOcs_, st.maxOcsText);
        setIfChanged(affix_, st.affix);
        if (format_->currentIndex() != st.format) format_->setCurrentIndex(st.format);
        setCheckedIfChanged(byId_, st.method == PointMatchMethod::ByName);
        setCheckedIfChanged(byDistance_, st.method == PointMatchMethod::ByDistances);
        setCheckedIfChanged(byCoordinate_, st.method == PointMatchMethod::ByCoordinates);
        setCheckedIfChanged(useOnlyFirst_, st.useOnlyFirst);
        setCheckedIfChanged(renamePointsMcs_, st.renameMcs);
        setCheckedIfChanged(renamePointsOcs_, st.renameOcs);
        setCheckedIfChanged(prefix_, st.affixIsPrefix);
        setCheckedIfChanged(suffix_, !st.affixIsPrefix);
    }
    setEnabledIfChanged(useOnlyFirst_, st.useOnlyFirstEnabled);
    for (QWidget* w : {static_cast<QWidget*>(maxOcsLabel1_), static_cast<QWidget*>(maxOcs_),
                       static_cast<QWidget*>(maxOcsLabel2_)})
        setEnabledIfChanged(w, st.limitEnabled);
    setEnabledIfChanged(renamePointsMcs_, st.renameEnabled);
    setEnabledIfChanged(renamePointsOcs_, st.renameEnabled);
    // The frame disables all it holds; its buttons are named as well, as the design does.
    setEnabledIfChanged(frameMoreMcs_, st.moreMcsEnabled);
    for (QPushButton* b : {moreMcs_.browse, moreMcs_.edit, moreMcs_.explorer})
        setEnabledIfChanged(b, st.moreMcsEnabled);
    setEnabledIfChanged(moreMcs_.clipboard, st.moreMcsEnabled && bool(services_.fromClipboard));
    setEnabledIfChanged(import_, st.moreMcsEnabled && bool(services_.importMoreMcs));
    setEnabledIfChanged(mcs_.clipboard, bool(services_.fromClipboard));
    setEnabledIfChanged(ocs_.clipboard, bool(services_.fromClipboard));
    const bool canLoad = st.okEnabled() && bool(services_.loadServices);
    setEnabledIfChanged(ok_, canLoad);
    setEnabledIfChanged(apply_, canLoad);
    setEnabledIfChanged(cancel_, st.closeAllowed());
    if (st.loadRunning)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
    applying_ = false;
}

// ---------------------------------------------------------------- the load

bool FormInputFiles::runLoad() {
    if (!services_.loadServices) return false;
    InputFilesDialog::LoadHooks hooks;
    hooks.loadRunning = [this](bool running) {
        apply();
        if (services_.loadRunning) services_.loadRunning(running);
    };
    const auto outcome = model_.load(job_, services_.loadServices(), hooks);
    if (!outcome) return false;
    if (services_.loaded) services_.loaded(*outcome);
    return true;
}

void FormInputFiles::okClicked() {
    // OK closes the window whatever the load did; a load that could not start leaves it open.
    if (runLoad()) closeWindow();
}

void FormInputFiles::closeWindow() {
    // In the program the window sits in an MDI frame: that frame goes with it.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void FormInputFiles::closeEvent(QCloseEvent* e) {
    // A running load lets events through: the window must outlive it.
    if (!model_.state().closeAllowed()) {
        e->ignore();
        return;
    }
    e->accept();
    if (closing_) return;
    closing_ = true;
    emit closed();
}

// ---------------------------------------------------------------- controls

const FormInputFiles::PathRow& FormInputFiles::row(PathBox box) const {
    switch (box) {
        case PathBox::Mcs:
            return mcs_;
        case PathBox::Ocs:
            return ocs_;
        case PathBox::MoreMcs:
            break;
    }
    return moreMcs_;
}

QGroupBox* FormInputFiles::frame(const char* objectName) const { return findChild<QGroupBox*>(objectName); }
QLineEdit* FormInputFiles::pathBox(PathBox box) const { return row(box).path; }
QPushButton* FormInputFiles::browseButton(PathBox box) const { return row(box).browse; }
QPushButton* FormInputFiles::explorerButton(PathBox box) const { return row(box).explorer; }
QPushButton* FormInputFiles::editButton(PathBox box) const { return row(box).edit; }
QPushButton* FormInputFiles::clipboardButton(PathBox box) const { return row(box).clipboard; }

}  // namespace kal
