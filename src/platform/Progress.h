#pragma once
// The one progress window of long work (a bar and Cancel): the Monte Carlo series, the automatic
// matching, and later the batch run, the distance analysis and the network adjustment. A loop
// opens it, writes its value when it lets events through (never once per step: the window
// repaints only then anyway), asks whether the user wants to stop, and closes it on every way
// out. The window belongs to the platform; tests use a recording fake.
#include <string>

namespace kal::platform {

class Progress {
  public:
    virtual ~Progress() = default;
    // Shows the window without blocking, with its caption ("Progress" unless the loop names
    // another). A stop requested before is forgotten: it belonged to earlier work.
    virtual void open(const std::string& caption = "Progress") = 0;
    // The bar's value, 0 to 100. Does nothing once the window is closed: a write after Cancel
    // never opens it again (that would lose the cancel).
    virtual void setValue(int percent) = 0;
    // True once the user pressed Cancel or closed the window by its close box.
    virtual bool stopRequested() const = 0;
    // The loop's end: the window goes; no stop is requested by it.
    virtual void close() = 0;
};

// The window's rules for its implementations. The stop request is the job's StopFlag, so that a
// calculation sees Cancel where it already looks for STOP.
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
    bool stopRequested() const { return stopFlag_; }
    int value() const { return value_; }

  private:
    bool& stopFlag_;
    bool open_ = false;
    int value_ = -1;
};

// Closes a progress window on every way out of a loop; a null window is none.
class ProgressScope {
  public:
    ProgressScope(Progress* progress, const std::string& caption) : progress_(progress) {
        if (progress_) progress_->open(caption);
    }
    ~ProgressScope() {
        try {
            close();
        } catch (...) {
            // A window that failed to close is no reason to end the program.
        }
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    void setValue(int percent) {
        if (progress_ && open_) progress_->setValue(percent);
    }
    bool stopRequested() const { return progress_ && progress_->stopRequested(); }
    void close() {
        if (!open_) return;
        open_ = false;
        if (progress_) progress_->close();
    }

  private:
    Progress* progress_;
    bool open_ = true;
};

}  // namespace kal::platform
