#pragma once
// The main window as the job commands see it, and the File menu's entries connected to them.
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/JobCommands.h"
#include "shell/ui/FormMain.h"

namespace kal {

class MainJobWindow : public JobWindow {
  public:
    MainJobWindow(FormMain& main, JobState& job) : main_(main), job_(job) {}

    void closeAllChildForms() override { main_.closeChildWindows(); }
    void resetJob() override { main_.initializeJob(); }
    void unitsChanged() override;
    // The saved-view list shows the opened job's views; the windows hear of the new job (JobReset)
    // when a change hub is set.
    void jobLoaded() override;
    void setJobEvents(JobEvents* events) { events_ = events; }
    void refreshState() override { main_.refreshControls(); }
    void setBusy(bool busy) override;

  private:
    FormMain& main_;
    JobState& job_;
    JobEvents* events_ = nullptr;
    int busyDepth_ = 0;
};

// Connects "&New", "&Open", "&Save", "Save &as" and the four recent-file entries to `commands`.
// ("&Exit" closes the main window, whose shut-down asks about a changed job.)
void connectJobCommands(FormMain& main, JobCommands& commands);

}  // namespace kal
