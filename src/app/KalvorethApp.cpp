#include "app/KalvorethApp.h"

#include <QCoreApplication>
#include <QScreen>

#include "app/GraphicsModeWindows.h"
#include "shared/IniFile.h"

namespace kal {

KalvorethApp::KalvorethApp(GuardedApplication& app)
    : app_(app),
      main_(job_, prompter_),
      fileDialogs_(&main_),
      jobWindow_(main_, job_),
      jobCommands_(
          job_, prompter_, fileDialogs_, jobWindow_,
          [this](const std::string& section, const SettingsKeys& keys) { writeSettings(section, keys); }) {
    prompter_.setParent(&main_);
    app_.setPrompter(&prompter_);

    // The File menu and the file toolbar drive the job commands.
    connectJobCommands(main_, jobCommands_);

    // Start-up and shut-down: window positions are stored only into a writable settings file,
    // and the main window closes only when the shut-down flow agrees.
    StartUp& startUp = startUp_.emplace(job_, main_, jobCommands_, prompter_, system_);
    main_.windowPositions().setWritable([&startUp] { return startUp.settingsWritable(); });
    main_.windowPositions().setProblemReporter(
        [&startUp](const std::string& why) { startUp.reportSettingsProblem(why); });
    main_.setCloseGuard([&startUp] { return startUp.shutDown(); });

    calculationWindows_ = std::make_unique<CalculationWindows>(
        job_, events_, main_, prompter_, [&startUp] { return startUp.settingsWritable(); });
    sheetWindows_ = std::make_unique<SheetWindows>(job_, events_, main_, prompter_,
                                                   [&startUp] { return startUp.settingsWritable(); });
    jobWindow_.setJobEvents(&events_);  // an opened job reaches the windows
    inputWindows_ = std::make_unique<InputWindows>(job_, events_, main_, prompter_, fileDialogs_,
                                                   calculationWindows_.get(),
                                                   [&startUp] { return startUp.settingsWritable(); });
    inputToolWindows_ = std::make_unique<InputToolWindows>(job_, events_, main_, prompter_,
                                                           [&startUp] { return startUp.settingsWritable(); });
    inputWindows_->setInputTools(inputToolWindows_.get());
    settingsWindows_ =
        std::make_unique<SettingsWindows>(job_, events_, main_, prompter_, *calculationWindows_,
                                          [&startUp] { return startUp.settingsWritable(); });
    mainWindowCommands_ =
        std::make_unique<MainWindowCommands>(main_, job_, prompter_, clipboard_, shellOpener_,
                                             QCoreApplication::applicationDirPath().toStdString());
    detailsWindows_ = std::make_unique<DetailsWindows>(job_, events_, main_, prompter_, fileDialogs_,
                                                       [&startUp] { return startUp.settingsWritable(); });
    calculationWindows_->setShowDetails([this] { detailsWindows_->ensureOpen(); });
    chartWindows_ = std::make_unique<ChartWindows>(job_, events_, main_, prompter_, fileDialogs_);
    networkWindows_ = std::make_unique<NetworkWindows>(job_, events_, main_, prompter_, inputWindows_.get(),
                                                       calculationWindows_.get(),
                                                       [&startUp] { return startUp.settingsWritable(); });
    screenWindows_ = std::make_unique<ScreenWindows>(job_, events_, main_, prompter_,
                                                     [&startUp] { return startUp.settingsWritable(); });
    sheetWindows_->setPointSelected([this](const std::string& name) { screenWindows_->selectPoint(name); });
    screenNavigation_ = std::make_unique<ScreenNavigationWindows>(
        job_, *screenWindows_, std::make_unique<platform::QtFontDialogs>(&main_));
    viewRecordWindows_ = std::make_unique<ViewRecordWindows>(
        job_, events_, main_, prompter_, [&startUp] { return startUp.settingsWritable(); });
    viewRecordWindows_->attachScreens(*screenWindows_);
    colorBarWindows_ = std::make_unique<ColorBarWindows>(job_, main_, prompter_, *screenWindows_);
    flagWindows_ = std::make_unique<FlagWindows>(
        job_, events_, main_, prompter_, *screenWindows_, calculationWindows_.get(),
        std::make_unique<platform::QtFontDialogs>(&main_), clipboard_);
    flagWindows_->connectTo(*viewRecordWindows_, *colorBarWindows_);

    // Whatever changes the job, the menus and toolbars follow it; the main window hears last of
    // the windows, so that its states see what the others have already shown.
    mainWindowRefresh_ =
        events_.subscribe({JobEvent::JobReset, JobEvent::PointsReplaced, JobEvent::UnitsChanged,
                           JobEvent::SavedViewsChanged, JobEvent::CalculationEnded},
                          Subscriber::MainWindow, [this](JobEvent) { main_.refreshControls(); });
    attachGraphicsModes();
}

void KalvorethApp::attachGraphicsModes() {
    colorBarWindows_->attach(events_, *viewRecordWindows_);
    graphicsModes_ = std::make_unique<GraphicsModeWindows>(job_, events_, main_, *screenWindows_);
    graphicsModes_->setMainSheet([this](const std::string& name) { return sheetWindows_->goToPoint(name); });
    screenNavigation_->setPointPicked(
        [this](FormScreen& window, const std::string& name) { graphicsModes_->pointPicked(window, name); });
    // A name chosen in the calculation window's point table takes the path of a graphics pick.
    calculationWindows_->setPointSelected(
        [this](const std::string& name) { graphicsModes_->tablePointSelected(name); });
}

KalvorethApp::~KalvorethApp() {
    // The prompter goes with this object; later reports go to the standard error stream.
    app_.setPrompter(nullptr);
}

void KalvorethApp::start(const std::vector<std::string>& arguments) {
    startUp_->startProgram(arguments);
    // The calculation and details windows are taller than the default main window: a larger
    // screen gives the main window its room (the frame's share kept back); a smaller one, such as
    // 1366 x 768, no more than it has, so the work area's lower edge and the status bar stay on
    // the screen.
    if (const QScreen* screen = main_.screen()) {
        const QSize room = screen->availableGeometry().size() - QSize(16, 48);
        main_.resize(room.expandedTo(main_.minimumSizeHint()));
    }
    main_.show();
}

void KalvorethApp::writeSettings(const std::string& section, const SettingsKeys& keys) {
    if (!startUp_ || !startUp_->settingsWritable()) return;  // no settings file this run
    std::vector<IniEntry> entries;
    for (const auto& [key, value] : keys) entries.push_back({section, key, value});
    writeIniValues(job_.IniFilePath, entries);
}

}  // namespace kal
