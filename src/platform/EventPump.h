#pragma once
// Letting pending events through during long work, on a clock: the window is repainted and
// clicks (STOP) are seen at most every 50 ms, never on every step of a tight loop.
#include <chrono>

namespace kal::platform {

class EventPump {
  public:
    virtual ~EventPump() = default;
    virtual void processEvents() = 0;
};

// Calls the pump at most once per interval; cheap to call on every step of a loop.
class ThrottledPump {
  public:
    explicit ThrottledPump(EventPump* pump,
                           std::chrono::milliseconds interval = std::chrono::milliseconds(50))
        : pump_(pump), interval_(interval), last_(std::chrono::steady_clock::now()) {}

    // Returns true when the events were let through on this call.
    bool poll() {
        if (!pump_) return false;
        auto now = std::chrono::steady_clock::now();
        if (now - last_ < interval_) return false;
        last_ = now;
        pump_->processEvents();
        return true;
    }
    // Lets events through now, whatever the clock says (at the end of a phase).
    void flush() {
        if (!pump_) return;
        last_ = std::chrono::steady_clock::now();
        pump_->processEvents();
    }

  private:
    EventPump* pump_;
    std::chrono::milliseconds interval_;
    std::chrono::steady_clock::time_point last_;
};

}  // namespace kal::platform
