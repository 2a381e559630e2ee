#pragma once
// What a long matching run needs of its progress window. The window implements it; the core
// writes the value only when it lets events through, so a repaint never costs a loop step.
#include <string>

namespace kal {

class MatchProgress {
  public:
    virtual ~MatchProgress() = default;
    // Shows the window without blocking, with its caption; an earlier stop request is forgotten.
    virtual void open(const std::string& caption) = 0;
    // The bar's value, 0 to 100.
    virtual void setValue(int percent) = 0;
    // True once the user pressed Cancel or closed the window by its close box.
    virtual bool stopRequested() const = 0;
    virtual void close() = 0;
};

}  // namespace kal
