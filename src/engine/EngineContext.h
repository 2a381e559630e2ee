#pragma once
// Everything a solve needs besides the job state: the snapshot of the calculation window's
// controls, its progress panels, the calculation window's seed values, and the platform services.
// The engine only lets events through with them; the message boxes and the clipboard are the
// caller's, which shows the solve's warnings and puts its correction log through them: a Monte
// Carlo run's context has neither, so that its solves stay quiet.
// The caller keeps one context across the solves of a series so that the 50 ms clock of
// repaints and events runs on from one solve to the next.
#include <chrono>
#include <string>

#include "engine/CalcProgress.h"
#include "engine/EngineControls.h"
#include "engine/ProgressThrottle.h"
#include "engine/SeedValueSource.h"
#include "platform/Platform.h"

namespace kal {

class EngineContext {
  public:
    explicit EngineContext(platform::Services services = {}, CalcProgress* progress = nullptr,
                           std::chrono::milliseconds interval = std::chrono::milliseconds(50))
        : services(services), progress(progress), throttle_(progress, services.events, interval) {}

    EngineControls controls;
    // Fixed at construction: the throttle repaints through them.
    const platform::Services services;
    CalcProgress* const progress;
    // The calculation window's applySeed; null while the window is not loaded.
    SeedValueSource* seedValues = nullptr;

    // Sets a status-bar panel; nothing when no progress is shown.
    void setPanel(int panel, const std::string& text) {
        if (progress) progress->setPanelText(panel, text);
    }
    // Repaints and lets events through, at most every interval.
    void poll() { throttle_.poll(); }
    // Repaints and lets events through now.
    void flush() { throttle_.flush(); }

  private:
    ProgressThrottle throttle_;
};

}  // namespace kal
