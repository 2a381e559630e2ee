#pragma once
// The details window and the three exports in the program: the calculation window's "&Details"
// button opens the window; a new calculation closes it and one that ends a complete Monte Carlo
// series opens it; a change of units refills it. The Export menu's entries run the RobCad, ROCAL
// and MCS-only exports (the menu itself is enabled by the state refresher once a transformation
// is calculated).
#include <QMdiSubWindow>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "details/ExportServices.h"
#include "details/ui/FormTrafoDetails.h"
#include "platform/FileDialogs.h"
#include "platform/qt/QtPlatform.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"

namespace kal {

class DetailsWindows {
  public:
    // `settingsWritable` tells whether settings may be written this run; `openFile` hands a
    // written file to the desktop (empty: the desktop's default application).
    DetailsWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                   platform::FileDialogs& fileDialogs, std::function<bool()> settingsWritable = {},
                   std::function<void(const std::string&)> openFile = {});
    ~DetailsWindows();
    DetailsWindows(const DetailsWindows&) = delete;
    DetailsWindows& operator=(const DetailsWindows&) = delete;

    // The window, opened (and filled when a result exists) when it is not.
    FormTrafoDetails& ensureOpen();
    FormTrafoDetails* window() const { return form_; }
    void close();

    ExportOutcome exportRobCad();
    ExportOutcome exportRocal();
    ExportOutcome exportMcsOnly();

  private:
    ExportServices exportServices();
    void writeSetting(const std::string& section, const std::string& key, const std::string& value);

    JobState& job_;
    JobEvents& events_;
    FormMain& main_;
    platform::Prompter& prompter_;
    platform::FileDialogs& fileDialogs_;
    std::function<bool()> settingsWritable_;
    std::function<void(const std::string&)> openFile_;
    platform::QtClipboard clipboard_;
    QPointer<QMdiSubWindow> sub_;
    QPointer<FormTrafoDetails> form_;
    std::vector<Subscription> subscriptions_;
};

}  // namespace kal
