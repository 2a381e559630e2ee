#pragma once
// The program put together: the job, the platform services, the main window and what drives it
// (the job commands, start-up and shut-down). Each window that arrives is created and wired here,
// next to its model, so that neither the main window nor main() grows with it.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CalculationWindows.h"
#include "app/ChartWindows.h"
#include "app/ColorBarWindows.h"
#include "app/DetailsWindows.h"
#include "app/FlagWindows.h"
#include "app/InputToolWindows.h"
#include "app/InputWindows.h"
#include "app/NetworkWindows.h"
#include "app/ScreenNavigationWindows.h"
#include "app/ScreenWindows.h"
#include "app/SettingsWindows.h"
#include "app/SheetWindows.h"
#include "app/ViewRecordWindows.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtShellOpener.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/JobCommands.h"
#include "shell/StartUp.h"
#include "shell/ui/FormMain.h"
#include "shell/ui/GuardedApplication.h"
#include "shell/ui/MainJobWindow.h"
#include "shell/ui/MainWindowCommands.h"

namespace kal {

class GraphicsModeWindows;

class KalvorethApp {
  public:
    // Builds the windows and connects them; `app` reports escaped exceptions through the
    // program's message boxes while this object lives.
    explicit KalvorethApp(GuardedApplication& app);
    ~KalvorethApp();
    KalvorethApp(const KalvorethApp&) = delete;
    KalvorethApp& operator=(const KalvorethApp&) = delete;

    // The start-up flow with the command line's operands (parseCommandLine), then the main window
    // is shown.
    void start(const std::vector<std::string>& arguments);

    FormMain& mainWindow() { return main_; }
    // The change hub every window of the job subscribes to.
    JobEvents& events() { return events_; }

  private:
    // Settings the job commands store go to the INI file only when the start-up found it
    // writable.
    void writeSettings(const std::string& section, const SettingsKeys& keys);
    // The graphics switches of the main window and a pick reaching the main sheet.
    void attachGraphicsModes();

    GuardedApplication& app_;
    JobState job_;
    JobEvents events_;
    platform::QtPrompter prompter_;
    platform::QtSystemInfo system_;
    FormMain main_;
    platform::QtFileDialogs fileDialogs_;
    MainJobWindow jobWindow_;
    JobCommands jobCommands_;
    std::optional<StartUp> startUp_;  // made once the job commands it drives exist
    Subscription mainWindowRefresh_;
    std::unique_ptr<GraphicsModeWindows> graphicsModes_;  // analyse mode, a pick reaching the sheet
    std::unique_ptr<CalculationWindows> calculationWindows_;
    std::unique_ptr<SheetWindows> sheetWindows_;
    std::unique_ptr<InputWindows> inputWindows_;
    std::unique_ptr<InputToolWindows> inputToolWindows_;
    std::unique_ptr<SettingsWindows> settingsWindows_;
    platform::QtClipboard clipboard_;
    platform::QtShellOpener shellOpener_;
    std::unique_ptr<MainWindowCommands> mainWindowCommands_;  // Copy, Arrange, Cascade, the manual
    std::unique_ptr<DetailsWindows> detailsWindows_;
    std::unique_ptr<ChartWindows> chartWindows_;  // data chart, distance analysis, trumpet graph
    std::unique_ptr<NetworkWindows> networkWindows_;
    std::unique_ptr<ScreenWindows> screenWindows_;               // the graphics windows
    std::unique_ptr<ScreenNavigationWindows> screenNavigation_;  // their mouse, keys and wheel
    std::unique_ptr<ViewRecordWindows> viewRecordWindows_;       // saved views, undo controls, options
    std::unique_ptr<ColorBarWindows> colorBarWindows_;
    std::unique_ptr<FlagWindows> flagWindows_;  // the flags of the graphics windows
};

}  // namespace kal
