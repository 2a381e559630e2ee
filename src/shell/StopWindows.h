#pragma once
// The stop window of the paraboloid iteration (the progress window of long loops is
// platform/Progress.h). It only sets the shared stop flag; the flow tests it between its steps
// while it lets events through. Closing it by its close box stops as its button does.

namespace kal {

// What the paraboloid flow uses of its stop window.
class ParaStopWindow {
  public:
    virtual ~ParaStopWindow() = default;
    virtual void open() = 0;
    // Disabled while a Monte Carlo series runs inside the flow.
    virtual void setStopEnabled(bool enabled) = 0;
    // ParaStopFlag := true and the window goes (its button, its close box, or the flow itself
    // after a cancelled inner series) (StopIt).
    virtual void stopParaboloidLoop() = 0;
    // The flow's end: the window goes without touching ParaStopFlag.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};

}  // namespace kal
