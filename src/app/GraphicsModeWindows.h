#pragma once
// The main window's process-wide graphics switches and what a pick in a graphics window does
// outside that window:
// - "Analyse Mode Active" (Ctrl+X, button "AnalyseMode") starts or stops the default window's
//   animation and enables "more", "less" and "KeepPoints" only while it runs;
// - a picked point, or a name chosen in the calculation window's point table, becomes the main
//   sheet's current row when the sheet is shown, and the point "Rotate about" turns the views about;
// - new points or a new job make every window measure its axes anew.
#include <QObject>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/ScreenWindows.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"

namespace kal {

class GraphicsModeWindows {
  public:
    GraphicsModeWindows(JobState& job, JobEvents& events, FormMain& main, ScreenWindows& screens);
    ~GraphicsModeWindows();
    GraphicsModeWindows(const GraphicsModeWindows&) = delete;
    GraphicsModeWindows& operator=(const GraphicsModeWindows&) = delete;

    // The main sheet's "go to point": nothing when the sheet is not shown, else the sheet row it
    // made current (0 when the sheet does not list the name).
    void setMainSheet(std::function<std::optional<int>(const std::string& name)> goToPoint) {
        goToPoint_ = std::move(goToPoint);
    }

    // A click in `window` selected the point `name` (after SelectedPointName, before the redraws).
    void pointPicked(FormScreen& window, const std::string& name);
    // A name chosen in the calculation window's point table (SetPointGraphicsActive): the point goes
    // to the main sheet as a pick does, and through it to the graphics windows, but only while both
    // "Graphics Window" and "&MainSheet" carry their check marks; then every window redraws.
    void tablePointSelected(const std::string& name);

    void toggleAnalyseMode();  // "Analyse Mode Active"

  private:
    void measureAxesAnew();
    // The sheet's current row moves to the point and the point becomes the selected one and the
    // one "Rotate about" turns about; false when the sheet is not shown (nothing changes then).
    bool showOnMainSheet(const std::string& name);

    JobState& job_;
    FormMain& main_;
    ScreenWindows& screens_;
    std::function<std::optional<int>(const std::string&)> goToPoint_;
    std::vector<Subscription> subscriptions_;
};

}  // namespace kal
