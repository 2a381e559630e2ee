#pragma once
// The result display of the calculation window: the "Statistics" frame with its fifteen boxes,
// their green and red comparison arrows and the seven extreme-point names (a double click on a
// name asks to leave that point's residual out, or take it back in), and the sigma,
// significance, tooltip and value texts of the parameter rows. It fills them from the core's
// display value (results/ResultDisplay.h) after every calculation and, without resetting the
// arrows, after every change of units; then it puts the chosen report on the clipboard.
//
// It attaches to a built calculation window: it finds the window's controls by their object
// names, writes value boxes through the parameter panel (which owns their texts) and lives as the
// window's child, so its comparison state (PrevStats) lasts as long as the window.
#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <vector>

#include "calculation/ParameterPanel.h"
#include "engine/CalcResults.h"
#include "platform/Platform.h"
#include "results/ResidualStatistics.h"
#include "results/ResultDisplay.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace kal {

class CalculationResultDisplay : public QObject {
    Q_OBJECT
  public:
    // Each parameter row's sigma and significance box (slots 1..17), named here.
    using SigmaBoxes = std::array<std::pair<QLineEdit*, QLineEdit*>, kParamCount + 1>;

    // `window` is the calculation window (parent of this object); `showPanel` shows the panel's
    // state in its controls. Subscribes to ResultsChanged and UnitsChanged as the result display.
    CalculationResultDisplay(JobState& job, JobEvents& events, QWidget& window, SigmaBoxes sigmaBoxes,
                             ParameterPanel& panel, const CalcResults& results,
                             std::function<void()> showPanel, platform::Services services);
    ~CalculationResultDisplay() override;

    // (FormThings) Fills every box from the job; `afterCalculation` false for a change of units.
    void showResults(bool afterCalculation);
    // (ResetArrows) Hides the thirty arrows.
    void resetArrows();
    // (AnzeigeReset) Empties the parameter sigma and significance boxes and the statistics boxes
    // (not s0, sigma xyz, the point names and the offset-vector boxes).
    void resetDisplay();
    // The s0 and sigma xyz of a paraboloid step, millimetres.
    void showStepSigmas(double s0, double sigmaXyz);

    // Controls, for tests: a statistics box, its arrows, an extreme-point name box.
    QLineEdit* statisticsBox(StatQuantity q) const { return boxes_[static_cast<std::size_t>(q)]; }
    QLabel* greenArrow(StatQuantity q) const { return green_[static_cast<std::size_t>(q)]; }
    QLabel* redArrow(StatQuantity q) const { return red_[static_cast<std::size_t>(q)]; }
    QLineEdit* extremeNameBox(ExtremeIndex e) const { return names_[static_cast<std::size_t>(e)]; }
    const PrevStats& previousStatistics() const { return prev_; }

  signals:
    // A point-name box was double-clicked: `extreme` is its ExtremeIndex, `name` the point it
    // shows (empty before the first calculation).
    void extremeNameDoubleClicked(int extreme, const QString& name);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildStatisticsFrame(QGroupBox* frame);
    void applyParameters(const ResultDisplay& d);
    void applyValueTexts(const std::vector<std::pair<int, std::string>>& texts);
    void applyStatistics(const ResultDisplay& d);
    void applyClipboard(const ResultDisplay& d, const DisplayTicks& ticks);

    JobState& job_;
    QWidget& window_;
    SigmaBoxes sigmaBoxes_;
    ParameterPanel& panel_;
    const CalcResults& results_;
    std::function<void()> showPanel_;
    platform::Services services_;
    PrevStats prev_;
    std::array<QLineEdit*, kStatCount> boxes_{};
    std::array<QLabel*, kStatCount> green_{}, red_{};
    std::array<QLineEdit*, kExtremeCount> names_{};
    std::vector<Subscription> subscriptions_;
};

}  // namespace kal
