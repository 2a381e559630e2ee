#pragma once
// Window positions through the settings file, as the main window's small windows use them: a
// run without a writable settings file restores nothing it cannot read and stores nothing, and
// a position that cannot be stored is told once, through the main window, never as a failure
// of the closing window.
#include <QWidget>
#include <functional>
#include <string>

#include "shared/JobState.h"

namespace kal {

class WindowPositions {
  public:
    explicit WindowPositions(const JobState& job) : job_(job) {}

    void setWritable(std::function<bool()> writable) { writable_ = std::move(writable); }
    void setProblemReporter(std::function<void(const std::string&)> report) { report_ = std::move(report); }

    // `window` is the outer window: the MDI sub-window for a child window.
    void restore(QWidget* window, const std::string& name) const;
    void store(QWidget* window, const std::string& name) const;

  private:
    const JobState& job_;
    std::function<bool()> writable_;
    std::function<void(const std::string&)> report_;
};

// Pixels for twips on the window's screen.
int twipsOnScreen(const QWidget* window, double twips);

}  // namespace kal
