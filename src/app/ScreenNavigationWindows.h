#pragma once
// Mouse, keys and wheel of every graphics window as it opens: its navigator over the window's
// own cloud and pixels, a pick that rings the point in every window, the double click's colour
// dialog, and the hover panels in the job's length unit.
#include <functional>
#include <memory>
#include <string>

#include "app/ScreenWindows.h"
#include "platform/FontDialogs.h"
#include "shared/JobState.h"

namespace kal {

class ScreenNavigationInput;

class ScreenNavigationWindows {
  public:
    // `colours` serves the double click's colour dialog.
    ScreenNavigationWindows(JobState& job, ScreenWindows& screens,
                            std::unique_ptr<platform::FontDialogs> colours);
    ~ScreenNavigationWindows();
    ScreenNavigationWindows(const ScreenNavigationWindows&) = delete;
    ScreenNavigationWindows& operator=(const ScreenNavigationWindows&) = delete;

    // The navigation attached to a graphics window; null for a window opened elsewhere.
    static ScreenNavigationInput* of(FormScreen& window);
    // Told of every pick (the window, the picked point's name) before the windows redraw.
    void setPointPicked(std::function<void(FormScreen&, const std::string&)> picked) {
        picked_ = std::move(picked);
    }

  private:
    void attach(FormScreen& window);

    JobState& job_;
    ScreenWindows& screens_;
    int openedListener_ = 0;
    std::unique_ptr<platform::FontDialogs> colours_;
    std::function<void(FormScreen&, const std::string&)> picked_;
};

}  // namespace kal
