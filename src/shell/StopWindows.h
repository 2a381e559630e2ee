#pragma once
// The two windows that let a user stop long work: the progress window (a bar and Cancel) that
// the Monte Carlo series and the automatic matching open, and the stop window of the
// paraboloid iteration. They only set the shared stop flags; the loops test the flags between
// their steps while they let events through. Closing either by its close box stops as its
// button does.
#include <string>

namespace kal {

// What a long loop uses of the progress window.
class ProgressWindow {
  public:
    virtual ~ProgressWindow() = default;
    // Shows the window with its caption ("Progress" unless the loop names another) and clears
    // StopFlag, so that a stop left over from earlier work does not end this loop.
    virtual void open(const std::string& caption = "Progress") = 0;
    // The bar's value, 0 to 100. Does nothing once the window is closed: a write after Cancel
    // never opens it again (that would clear StopFlag and lose the cancel).
    virtual void setValue(int percent) = 0;
    // The loop's end: the window goes without touching StopFlag.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};

// What the paraboloid road uses of its stop window.
class ParaStopWindow {
  public:
    virtual ~ParaStopWindow() = default;
    virtual void open() = 0;
    // Disabled while a Monte Carlo series runs inside the road.
    virtual void setStopEnabled(bool enabled) = 0;
    // ParaStopFlag := true and the window goes (its button, its close box, or the road itself
    // after a cancelled inner series).
    virtual void StopIt() = 0;
    // The road's end: the window goes without touching ParaStopFlag.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};

// The progress window's rules on the stop flag, for its implementations.
class ProgressState {
  public:
    explicit ProgressState(bool& stopFlag) : stopFlag_(stopFlag) {}

    void open() {
        stopFlag_ = false;
        open_ = true;
        value_ = -1;
    }
    // True when the bar must be set: the window is open and the value (clamped to 0..100) changed.
    bool setValue(int percent) {
        if (!open_) return false;
        const int v = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
        if (v == value_) return false;
        value_ = v;
        return true;
    }
    // Cancel: the button or the close box.
    void cancel() {
        stopFlag_ = true;
        open_ = false;
    }
    void close() { open_ = false; }
    bool isOpen() const { return open_; }
    int value() const { return value_; }

  private:
    bool& stopFlag_;
    bool open_ = false;
    int value_ = -1;
};

}  // namespace kal
