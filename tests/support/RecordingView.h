#pragma once
// The calculation window and its status bar, recording what the flow asks of them, for tests.
#include <functional>
#include <map>
#include <string>

#include "calculation/CalculationView.h"
#include "engine/CalcProgress.h"

namespace kal::testing {

class RecordingView : public CalculationView {
  public:
    int anzeigeReset = 0, stopWindowShown = 0, stopWindowClosed = 0;
    bool waitCursor = false, calculateEnabled = true, stopEnabled = false, windowEnabled = true;
    bool stopWindowEnabled = true;

    void resetResultDisplay() override { ++anzeigeReset; }
    void setWaitCursor(bool on) override { waitCursor = on; }
    void setCalculateEnabled(bool e) override { calculateEnabled = e; }
    void setStopEnabled(bool e) override { stopEnabled = e; }
    void setWindowEnabled(bool e) override { windowEnabled = e; }
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
