#pragma once
// A calculation view and status bar that count what the road asks of them, for tests. Hooks let a
// test act in the middle of a run (press STOP in run 3, throw in run 50).
#include <functional>
#include <map>
#include <string>

#include "calculation/CalculationView.h"
#include "engine/CalcProgress.h"

namespace kal::testing {

class RecordingView : public CalculationView {
  public:
    int formThings = 0, resetArrows = 0, anzeigeReset = 0, graphics = 0, mainSheet = 0, programmLogik = 0;
    int detailsShown = 0, detailsClosed = 0, progressShown = 0, progressClosed = 0, progressSteps = 0;
    int stopWindowShown = 0, stopWindowClosed = 0, statisticsReopened = 0;
    bool waitCursor = false, calculateEnabled = true, stopEnabled = false, windowEnabled = true;
    bool stopWindowEnabled = true;
    std::function<void(float)> onProgress;
    std::function<void()> onFormThings;

    void ResetArrows() override { ++resetArrows; }
    void FormThings() override {
        ++formThings;
        if (onFormThings) onFormThings();
    }
    void AnzeigeReset() override { ++anzeigeReset; }
    void refreshGraphicsWindows() override { ++graphics; }
    void refreshMainSheet() override { ++mainSheet; }
    void ProgrammLogik() override { ++programmLogik; }
    void closeDetails() override { ++detailsClosed; }
    void showDetails() override { ++detailsShown; }
    void reopenInputStatistics() override { ++statisticsReopened; }
    void setWaitCursor(bool on) override { waitCursor = on; }
    void setCalculateEnabled(bool e) override { calculateEnabled = e; }
    void setStopEnabled(bool e) override { stopEnabled = e; }
    void setWindowEnabled(bool e) override { windowEnabled = e; }
    void showProgress(const std::string&) override { ++progressShown; }
    void setProgress(float percent) override {
        ++progressSteps;
        if (onProgress) onProgress(percent);
    }
    void closeProgress() override { ++progressClosed; }
    void showStopWindow() override { ++stopWindowShown; }
    void setStopWindowEnabled(bool e) override { stopWindowEnabled = e; }
    void closeStopWindow() override { ++stopWindowClosed; }
};

class StatusBarRecorder : public CalcProgress {
  public:
    std::map<int, std::string> panels;
    std::function<void(int, const std::string&)> onPanel;
    void setPanelText(int panel, const std::string& text) override {
        panels[panel] = text;
        if (onPanel) onPanel(panel, text);
    }
    void repaint() override {}
};

}  // namespace kal::testing
