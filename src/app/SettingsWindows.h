#pragma once
// The settings windows and the quick transformation in the program: "&Options" (Extras) opens the
// options dialog, "&Units" (Settings) and "&Info" (Help) their child windows, "&Spezial" (Help,
// Ctrl+W) runs the clipboard quick transformation.
//
// The units window's OK applies the choice (shell/UnitsSettings), stores it and then publishes
// UnitsChanged once: every window that shows lengths or angles (the main sheet, the calculation
// window's results and status panels, the graphics windows and their flags, the details window)
// refreshes itself from that event, in the hub's fixed order of subscribers.
#include <QMdiSubWindow>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "app/CalculationWindows.h"
#include "platform/qt/QtPlatform.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/QuickTransformation.h"
#include "shell/UnitsSettings.h"
#include "shell/ui/FormMain.h"
#include "shell/ui/FormMenuHelpInfo.h"
#include "shell/ui/FormOptions.h"
#include "shell/ui/FormUnits.h"

namespace kal {

class SettingsWindows : private UnitsOkHost {
  public:
    // `settingsWritable` tells whether settings may be written this run.
    SettingsWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                    CalculationWindows& calculation, std::function<bool()> settingsWritable = {});
    ~SettingsWindows() override;
    SettingsWindows(const SettingsWindows&) = delete;
    SettingsWindows& operator=(const SettingsWindows&) = delete;

    // "&Options": the modal options dialog (window-modal, so the caller does not wait in it).
    FormOptions& openOptions();
    FormOptions* optionsDialog() const { return options_; }
    // "&Units": marks the job changed and opens the units window, or activates it.
    FormUnits& openUnits();
    FormUnits* unitsWindow() const { return units_; }
    // "&Info": opens the info window, or activates it.
    FormMenuHelpInfo& openInfo();
    FormMenuHelpInfo* infoWindow() const { return info_; }
    // "&Spezial" (MenueHelpWubrant_Click).
    QuickTransformationResult runQuickTransformation();

    // How a file or link is opened (tests replace the system's handler).
    void setOpener(std::function<bool(const std::string&)> open) { open_ = std::move(open); }

  private:
    // UnitsOkHost
    void showUnitNames(const std::string& lengthUnit, const std::string& angleUnit) override;
    void closeUnitsWindow() override;
    bool mainSheetOpen() const override;
    void refillMainSheet() override;
    bool calculationWindowOpen() const override;
    void showResultsAgain() override;
    void showCalculationUnitNames(const std::string& lengthUnit, const std::string& angleUnit) override;
    void writeSettings(const std::vector<IniEntry>& entries) override;
    void redrawFlags() override;

    bool writable() const;
    void unitsOk(const UnitsChoice& choice);
    void reloadSettings();
    void showMessages(const std::vector<std::string>& messages);
    QMdiSubWindow* addChild(QWidget* form, const char* name);

    JobState& job_;
    JobEvents& events_;
    FormMain& main_;
    platform::Prompter& prompter_;
    CalculationWindows& calculation_;
    std::function<bool()> settingsWritable_;
    std::function<bool(const std::string&)> open_;
    platform::QtClipboard clipboard_;
    platform::QtEventPump eventPump_;
    QPointer<FormOptions> options_;
    QPointer<FormUnits> units_;
    QPointer<QMdiSubWindow> unitsSub_;
    QPointer<FormMenuHelpInfo> info_;
    QPointer<QMdiSubWindow> infoSub_;
};

}  // namespace kal
