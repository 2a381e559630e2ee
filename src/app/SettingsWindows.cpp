#include "app/SettingsWindows.h"

#include <QDesktopServices>
#include <QEvent>
#include <QUrl>

#include "shared/IniFile.h"
#include "shell/HelpInfo.h"

namespace kal {

namespace {

// A path opens as a local file; anything with a scheme (a web page, a mail link) as the link it
// is, taken as it stands so that its "%0A" is not encoded a second time.
bool openWithSystem(const std::string& target) {
    const QString text = QString::fromStdString(target);
    const QUrl url =
        text.startsWith(QLatin1Char('/')) ? QUrl::fromLocalFile(text) : QUrl(text, QUrl::TolerantMode);
    return url.isValid() && QDesktopServices::openUrl(url);
}

// Stores a child window's place when it closes, whichever way it is closed (its OK, Cancel or the
// close box).
class PositionKeeper : public QObject {
  public:
    PositionKeeper(QMdiSubWindow* sub, const WindowPositions& positions, std::string name)
        : QObject(sub), positions_(positions), name_(std::move(name)) {
        sub->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) positions_.store(static_cast<QWidget*>(watched), name_);
        return false;
    }

  private:
    const WindowPositions& positions_;
    std::string name_;
};

}  // namespace

SettingsWindows::SettingsWindows(JobState& job, JobEvents& events, FormMain& main,
                                 platform::Prompter& prompter, CalculationWindows& calculation,
                                 std::function<bool()> settingsWritable)
    : job_(job),
      events_(events),
      main_(main),
      prompter_(prompter),
      calculation_(calculation),
      settingsWritable_(std::move(settingsWritable)),
      open_(openWithSystem) {
    main_.connectCommand(Command::Options, [this] { openOptions(); });
    main_.connectCommand(Command::Units, [this] { openUnits(); });
    main_.connectCommand(Command::Info, [this] { openInfo(); });
    main_.connectCommand(Command::Special, [this] { runQuickTransformation(); });
}

SettingsWindows::~SettingsWindows() {
    if (unitsSub_) delete unitsSub_.data();
    if (infoSub_) delete infoSub_.data();
    if (options_) delete options_.data();
}

bool SettingsWindows::writable() const {
    return !job_.IniFilePath.empty() && (!settingsWritable_ || settingsWritable_());
}

void SettingsWindows::showMessages(const std::vector<std::string>& messages) {
    if (messages.empty()) return;
    std::string text;
    for (const auto& m : messages) text += (text.empty() ? "" : "\n") + m;
    prompter_.message(text);
}

QMdiSubWindow* SettingsWindows::addChild(QWidget* form, const char* name) {
    // A dialog of fixed controls: no maximise button, and the work area never maximises it.
    QMdiSubWindow* sub = main_.mdiArea()->addSubWindow(
        form, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                  Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->resize(form->sizeHint());
    main_.windowPositions().restore(sub, name);
    // A stored size smaller than the window's content would cut its captions off.
    sub->resize(sub->size().expandedTo(sub->minimumSizeHint()));
    new PositionKeeper(sub, main_.windowPositions(), name);
    return sub;
}

// ---------------------------------------------------------------- Options

FormOptions& SettingsWindows::openOptions() {
    if (options_) {
        options_->raise();
        options_->activateWindow();
        return *options_;
    }
    options_ = new FormOptions(
        job_, prompter_,
        [this](const std::vector<IniEntry>& entries) {
            if (writable()) writeIniValues(job_.IniFilePath, entries);
        },
        &main_.windowPositions(), &main_);
    options_->setAttribute(Qt::WA_DeleteOnClose);
    options_->open();
    return *options_;
}

// ---------------------------------------------------------------- Units

FormUnits& SettingsWindows::openUnits() {
    // Opening the window counts as a change of the job, even when it is then cancelled.
    job_.JobDirty = true;
    if (units_) {
        main_.mdiArea()->setActiveSubWindow(unitsSub_);
        return *units_;
    }
    units_ = new FormUnits(job_, [this](const UnitsChoice& choice) { unitsOk(choice); });
    unitsSub_ = addChild(units_, "FormUnits");
    QObject::connect(units_, &FormUnits::cancelled, units_, [this] { closeUnitsWindow(); });
    unitsSub_->show();
    main_.refreshControls();
    return *units_;
}

void SettingsWindows::unitsOk(const UnitsChoice& choice) {
    const auto warnings = applyUnitsChoice(job_, choice, *this);
    events_.publish(JobEvent::UnitsChanged);
    showMessages(warnings);
}

void SettingsWindows::showUnitNames(const std::string& lengthUnit, const std::string& angleUnit) {
    main_.showUnitNames(lengthUnit, angleUnit);
}

void SettingsWindows::closeUnitsWindow() {
    if (!unitsSub_) return;
    unitsSub_->close();  // deleted later: OK's handler is still running in it
    units_ = nullptr;
    unitsSub_ = nullptr;
}

// The main sheet, the calculation window's results and the flags refresh themselves on the
// UnitsChanged that unitsOk publishes after these steps; nothing is refilled twice.
bool SettingsWindows::mainSheetOpen() const { return false; }

void SettingsWindows::refillMainSheet() {}

bool SettingsWindows::calculationWindowOpen() const { return calculation_.window() != nullptr; }

void SettingsWindows::showResultsAgain() {}

void SettingsWindows::showCalculationUnitNames(const std::string& lengthUnit, const std::string& angleUnit) {
    if (FormTrafoBerechnung* w = calculation_.window()) {
        w->setPanelText(8, lengthUnit);
        w->setPanelText(9, angleUnit);
    }
}

void SettingsWindows::writeSettings(const std::vector<IniEntry>& entries) {
    if (!writable()) return;
    try {
        writeIniValues(job_.IniFilePath, entries);
    } catch (const std::exception& e) {
        prompter_.message(std::string("The units apply to this run but could not be stored: ") + e.what());
    }
}

void SettingsWindows::redrawFlags() {}

// ---------------------------------------------------------------- Info

FormMenuHelpInfo& SettingsWindows::openInfo() {
    if (info_) {
        main_.mdiArea()->setActiveSubWindow(infoSub_);
        return *info_;
    }
    HelpInfoServices services;
    services.open = [this](const std::string& target) {
        const bool opened = open_ && open_(target);
        if (!opened) prompter_.message("Could not open " + target);
        return opened;
    };
    services.reloadSettings = [this] { reloadSettings(); };
    info_ = new FormMenuHelpInfo(job_, std::move(services));
    infoSub_ = addChild(info_, "FormMenuHelpInfo");
    QObject::connect(info_, &FormMenuHelpInfo::closeRequested, info_, [this] {
        if (!infoSub_) return;
        infoSub_->close();
        info_ = nullptr;
        infoSub_ = nullptr;
    });
    infoSub_->show();
    return *info_;
}

void SettingsWindows::reloadSettings() {
    showMessages(reloadSettingsFile(
        job_, [this](const std::string& l, const std::string& a) { main_.showUnitNames(l, a); },
        [this] { main_.refreshControls(); }));
}

// ---------------------------------------------------------------- Quick transformation

QuickTransformationResult SettingsWindows::runQuickTransformation() {
    QuickTransformationServices services;
    services.clipboard = &clipboard_;
    services.dataFolder = job_.AppDataFolder;
    services.load.prompter = &prompter_;
    services.load.events = &eventPump_;
    services.load.progress = &main_.progressWindow();
    services.load.jobEvents = &events_;
    if (FormTrafoBerechnung* w = calculation_.window()) services.load.seedValues = &w->flow().seedValues();
    services.load.resetJob = [this](JobState&) {
        main_.closeGraphicsWindows();
        main_.initializeJob();
    };
    if (writable()) services.load.iniFile = job_.IniFilePath;
    services.calculate = [this] { return calculation_.ensureOpen().flow().calculateKeepingStop(); };
    main_.setLongWorkRunning(true);
    QuickTransformationResult result = QuickTransformationResult::NotLoaded;
    try {
        result = kal::runQuickTransformation(job_, services);
    } catch (...) {
        main_.setLongWorkRunning(false);
        throw;
    }
    main_.setLongWorkRunning(false);
    main_.refreshControls();
    return result;
}

}  // namespace kal
