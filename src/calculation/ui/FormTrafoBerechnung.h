#pragma once
// The calculation window ("Transformation Calculation"): the 17 parameter rows with their seeds, the
// R option, the norm, the presets, the control buttons, the point table and the status bar. The
// rules live in the parameter panel and the calculation flow it owns (src/calculation); the window
// shows their state and forwards every click to them. It is the flow's view (cursor, buttons, the
// paraboloid stop window) and shows its progress in the status bar.
//
// Geometry follows the design in twips: the point table widens with the window and the right-hand
// column stays at the right edge (layoutForWidth). What the window needs of the main window comes as
// hooks, so it does not depend on it.
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "calculation/CalculationFlow.h"
#include "calculation/GimbalLock.h"
#include "calculation/ParameterRows.h"
#include "calculation/ui/PointTable.h"
#include "engine/CalcProgress.h"
#include "platform/Platform.h"
#include "shared/IniFile.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"

namespace kal {

class GridColumnWidths;

// What the window asks of the program around it. Any may be empty (a test, a window shown alone).
struct CalculationWindowServices {
    // Settings written when the window closes (the table's column widths).
    std::function<void(const std::vector<IniEntry>& entries)> writeSettings;
    // The paraboloid iteration's stop window.
    std::function<void()> showStopWindow;
    std::function<void(bool enabled)> setStopWindowEnabled;
    std::function<void()> closeStopWindow;
    // The details window ("&Details"); the button is disabled while nothing shows it.
    std::function<void()> showDetails;
    // The result display (results/ui): its boxes emptied, and s0 and sigma xyz of a paraboloid step.
    std::function<void()> resetResultDisplay;
    std::function<void(double s0, double sigmaXyz)> showStepSigmas;
};

class FormTrafoBerechnung : public QWidget, public CalculationView {
    Q_OBJECT
  public:
    // One row's controls; the vector rows share the "use ABC" box as their estimate box.
    struct RowWidgets {
        QCheckBox* estimate = nullptr;
        QLineEdit* value = nullptr;
        QLineEdit* sigma = nullptr;         // the result display's
        QLineEdit* significance = nullptr;  // the result display's
        QCheckBox* seedCheck = nullptr;
        QLineEdit* seed = nullptr;
    };

    // Builds the window and runs its set-up from the job (INI_Formtrafoberechnung).
    FormTrafoBerechnung(JobState& job, JobEvents& events, platform::Services services,
                        CalculationWindowServices hooks = {}, QWidget* parent = nullptr);
    ~FormTrafoBerechnung() override;

    CalculationFlow& flow() { return *flow_; }
    ParameterPanel& panel() { return flow_->panel(); }
    PointTable* pointTable() const { return table_; }

    // ---- Controls (object names as the design names them) ----
    const RowWidgets& row(int slot) const { return rows_.at(static_cast<std::size_t>(slot)); }
    QCheckBox* useAbcBox() const { return useAbc_; }
    QRadioButton* normButton(std::int16_t mode) const { return norms_.at(static_cast<std::size_t>(mode)); }
    QRadioButton* presetButton(Preset preset) const { return presets_.at(preset); }
    QPushButton* calculateButton() const { return calculate_; }
    QPushButton* stopButton() const { return stop_; }
    QCheckBox* autoRecalcBox() const { return autoRecalc_; }
    QCheckBox* monteCarloBox() const { return monteCarlo_; }
    QPushButton* seedButton() const { return seedButton_; }
    QPushButton* directionButton() const { return direction_; }
    QLabel* directionLabel() const { return directionLabel_; }
    QPushButton* useAllPointsButton() const { return useAll_; }
    QPushButton* detailsButton() const { return details_; }
    QPushButton* secondRotationButton() const { return secRot_; }
    QPushButton* secondShapeButton() const { return secAff_; }
    QPushButton* alternativeSplitButton() const { return alternative_; }
    QPushButton* closeButton() const { return close_; }
    QPushButton* copyFormButton() const { return copyForm_; }
    QCheckBox* deviationBox() const { return deviation_; }
    QLabel* statusPanel(int panel) const;
    QGroupBox* frame(const char* objectName) const;

    // Shows the panel's state in the controls (only what changed).
    void showPanel();

    // A point-name box of the statistics: toggles the named point's use flag of `component` (0 x,
    // 1 y, 2 z) as a double click on its use cell does, recalculating under "Auto recalculate"
    // (Switch_MaxPoint). A name the table does not hold changes nothing.
    void switchMaxPoint(const std::string& name, int component);
    // The box of the largest 3-D residual: x, y and z of the point in turn, with one recalculation
    // at the end when "Auto recalculate" is ticked (the box is unticked for the first two).
    void switchMaxPointAllComponents(const std::string& name);

    // CalculationView
    void setWaitCursor(bool on) override;
    void setCalculateEnabled(bool enabled) override;
    void setStopEnabled(bool enabled) override;
    void setWindowEnabled(bool enabled) override;
    void resetResultDisplay() override {
        if (hooks_.resetResultDisplay) hooks_.resetResultDisplay();
    }
    void showStepSigmas(double s0, double sigmaXyz) override {
        if (hooks_.showStepSigmas) hooks_.showStepSigmas(s0, sigmaXyz);
    }
    void updateAlternativeButton() override;
    void showStopWindow() override;
    void setStopWindowEnabled(bool enabled) override;
    void closeStopWindow() override;

    // The status bar panels 1..9 (the calculation's progress writes 1 to 7).
    void setPanelText(int panel, const std::string& text);

    // Writes the widths of table columns 1 to 7 as "col_fb_N" (SchreibeTabellenSpalteBreite_in_ini),
    // those the user set or the settings file gave; a fitted column is fitted again next time.
    void storeColumnWidths();

    // The size at which every control shows without scrolling (the status bar included); the
    // window itself can be smaller and then scrolls its controls.
    QSize sizeHint() const override;

  signals:
    // The window is closing (Form_Unload): its position is to be stored, the menu entry loses its
    // check mark, toolbar button 3 is released.
    void closed();
    // From the point table, for the main window.
    void pointSelected(const QString& name);
    void contextMenuRequested(const QPoint& globalPos);
    // "copy this Form to clipboad"
    void copyFormRequested();

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build();
    QGroupBox* buildCalculateFrame();
    QGroupBox* buildNormFrame();
    QGroupBox* buildStandardsFrame();
    QGroupBox* buildControlFrame();
    void buildStatusBar();
    void addRow(QGridLayout* grid, int gridRow, int slot, QWidget* estimateOrLabel);
    void connectControls();
    void setUp();
    void layoutFrames();
    // The window's minimum width from what its frames need now (the statistics frame's boxes
    // are laid out by the result display after the window is built): their natural width.
    void updateMinimumWidth();
    double statisticsMinimumTwips() const;
    void place(QWidget* w, double left, double top, double width, double height);

    // Forwards a change to the panel, then shows the result.
    template <class Change>
    void change(Change&& c);
    void calculate();
    void stop();
    void rotYChanged();
    void askGimbalQuestionLater();
    void showOtherRotation();
    void showOtherShape();
    void showAlternativeSplit();
    void setInputsEnabled(bool enabled);
    void showDirection();
    void keepColumnWidths();

    JobState& job_;
    JobEvents& events_;
    platform::Services services_;
    CalculationWindowServices hooks_;
    class StatusPanels;
    std::unique_ptr<StatusPanels> progress_;
    std::unique_ptr<CalculationFlow> flow_;
    GimbalLockWatch gimbal_;

    std::array<RowWidgets, kParamCount + 1> rows_{};
    QCheckBox* useAbc_ = nullptr;
    QCheckBox* rDataKnown_ = nullptr;
    QPushButton* loadRData_ = nullptr;
    std::array<QRadioButton*, 4> norms_{};
    std::map<Preset, QRadioButton*> presets_;
    QPushButton *calculate_ = nullptr, *seedButton_ = nullptr, *direction_ = nullptr, *useAll_ = nullptr,
                *details_ = nullptr, *stop_ = nullptr;
    QCheckBox *autoRecalc_ = nullptr, *monteCarlo_ = nullptr;
    QLabel* directionLabel_ = nullptr;
    QPushButton *secRot_ = nullptr, *secAff_ = nullptr, *alternative_ = nullptr;
    QPushButton *copyForm_ = nullptr, *close_ = nullptr;
    QGroupBox *frameCalculate_ = nullptr, *frameNorm_ = nullptr, *frameStandards_ = nullptr,
              *frameControl_ = nullptr, *frameStatistics_ = nullptr, *frameDisplay_ = nullptr;
    QCheckBox *measurement_ = nullptr, *object_ = nullptr, *deviation_ = nullptr;
    PointTable* table_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QScrollArea* scroll_ = nullptr;  // shows canvas_, which holds every control but the status bar
    QWidget* canvas_ = nullptr;
    std::array<QLabel*, 10> panels_{};

    GridColumnWidths* widths_ = nullptr;  // of table columns 1..7; owned by the table
    bool gimbalRed_ = false;
    bool waitCursor_ = false;
    bool closing_ = false;
    std::vector<Subscription> subscriptions_;
};

}  // namespace kal
