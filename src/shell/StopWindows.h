#pragma once
// The stop window of the paraboloid iteration (the progress window of long loops is
// platform/Progress.h). It only sets the shared stop flag; the road tests it between its steps
// while it lets events through. Closing it by its close box stops as its button does.

namespace kal {

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

}  // namespace kal
