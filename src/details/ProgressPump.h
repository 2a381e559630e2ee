#pragma once
// The event pump of a long loop that also moves its progress bar: the value is set just before
// the events are let through, so the bar moves when the window can repaint, never once per step.
#include "platform/EventPump.h"
#include "platform/Progress.h"

namespace kal {

class ProgressPump : public platform::EventPump {
  public:
    ProgressPump(platform::ProgressScope& window, platform::EventPump* events)
        : window_(window), events_(events) {}
    void processEvents() override {
        window_.setValue(percent);
        if (events_) events_->processEvents();
    }
    int percent = 0;

  private:
    platform::ProgressScope& window_;
    platform::EventPump* events_;
};

}  // namespace kal
