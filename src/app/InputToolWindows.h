#pragma once
// The small windows and services around the point input, in the program:
// - the input statistics window, an MDI child of the main window, switched by "&Input Statistic"
//   (its check mark tells whether it is open), shown and filled after a load and a more-MCS
//   import, and refilled while open whenever the points or the units change;
// - the batch window, shown modally by "Batch Transform"; while its run works the commands that
//   change the job wait;
// - for the input-files dialog: the "..from Clipboard" buttons' files and the more-MCS import,
//   which shows the statistics afterwards.
#include <QMdiSubWindow>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "input/ClipboardPointFiles.h"
#include "input/MoreMcsImport.h"
#include "input/ui/FormBatch.h"
#include "input/ui/FormInputStatistic.h"
#include "platform/qt/QtPlatform.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"

namespace kal {

class InputToolWindows {
  public:
    // `settingsWritable` tells whether settings may be written this run (the batch folders).
    InputToolWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                     std::function<bool()> settingsWritable = {});
    ~InputToolWindows();
    InputToolWindows(const InputToolWindows&) = delete;
    InputToolWindows& operator=(const InputToolWindows&) = delete;

    // ---- The input statistics window ----
    // Opens the window when it is closed and fills it (what the load flow and the more-MCS import
    // call after the points changed).
    FormInputStatistic& showStatistics();
    // The open window; null when it is closed.
    FormInputStatistic* statisticsWindow() const { return statistics_; }
    // The menu entry: closes the window when it is open, else shows it (MenüViewInputStatistic_Click).
    void switchStatistics();

    // ---- The batch window ----
    // Shows the batch window modally (MenueTransformationBatch_Click).
    void showBatchWindow();
    // Runs `act` with the batch window once it shows (tests drive the modal window through it).
    void whenBatchWindowShows(std::function<void(FormBatch&)> act) { batchShown_ = std::move(act); }

    // ---- For the input-files dialog ----
    // A "..from Clipboard" button: the clipboard's text written to the button's file in the
    // program's data folder; returns the path for the dialog's box, or "" when the file could not
    // be written (the user was told why).
    std::string pointFileFromClipboard(ClipboardPointFile which);
    // "&Import ": the more-MCS import; on success the statistics window is shown and filled (the
    // main sheet and the graphics hear of the new points by the job's change event).
    bool importMoreMcs(const MoreMcsRequest& request);

  private:
    void closeStatistics();
    void showStatisticsState();
    void writeSettings(const std::vector<IniEntry>& entries);

    JobState& job_;
    JobEvents& events_;
    FormMain& main_;
    platform::Prompter& prompter_;
    std::function<bool()> settingsWritable_;
    platform::QtClipboard clipboard_;
    platform::QtEventPump eventPump_;
    QPointer<QMdiSubWindow> statisticsSub_;
    QPointer<FormInputStatistic> statistics_;
    std::function<void(FormBatch&)> batchShown_;
    std::vector<Subscription> subscriptions_;
};

}  // namespace kal
