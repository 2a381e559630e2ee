#pragma once
// Repaints the calculation window and lets pending events through on one clock: at most once per
// interval (50 ms), however often a loop asks. Long solves stay responsive (STOP is seen) while a
// series of thousands of short solves does not spend its time repainting. The clock lives as long
// as the object, so a caller that runs many solves keeps one throttle for all of them.
#include <chrono>

#include "engine/CalcProgress.h"
#include "platform/EventPump.h"

namespace kal {

class ProgressThrottle {
  public:
    explicit ProgressThrottle(CalcProgress* progress = nullptr, platform::EventPump* events = nullptr,
                              std::chrono::milliseconds interval = std::chrono::milliseconds(50))
        : adapter_(progress, events), pump_(&adapter_, interval) {}

    ProgressThrottle(const ProgressThrottle&) = delete;
    ProgressThrottle& operator=(const ProgressThrottle&) = delete;

    // Repaints and lets events through when the interval has passed since the last time.
    void poll() { pump_.poll(); }
    // Repaints and lets events through now (the final state of a solve).
    void flush() { pump_.flush(); }

  private:
    // Repaint first, so the window shows the newest texts while the events are handled.
    class RepaintThenPump : public platform::EventPump {
      public:
        RepaintThenPump(CalcProgress* progress, platform::EventPump* events)
            : progress_(progress), events_(events) {}
        void processEvents() override {
            if (progress_) progress_->repaint();
            if (events_) events_->processEvents();
        }

      private:
        CalcProgress* progress_;
        platform::EventPump* events_;
    };

    RepaintThenPump adapter_;
    platform::ThrottledPump pump_;
};

}  // namespace kal
