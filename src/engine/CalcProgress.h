#pragma once
// Where a calculation reports its progress: the panels of the calculation window's status bar.
// The window implements it; tests record the texts. Panel texts are set as they change (cheap);
// the engine asks for a repaint on a 50 ms clock only (see ProgressThrottle).
#include <string>

namespace kal {

class CalcProgress {
  public:
    virtual ~CalcProgress() = default;
    // Panel 1..9 of the status bar gets `text`.
    virtual void setPanelText(int panel, const std::string& text) = 0;
    // Shows the texts set so far (the window repaints itself).
    virtual void repaint() = 0;
};

}  // namespace kal
