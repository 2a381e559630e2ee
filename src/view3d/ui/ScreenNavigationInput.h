#pragma once
// Hands a graphics window's mouse, keyboard and wheel events to its ScreenNavigator and carries
// out what the navigator answers: coalesced redraws, undo-ring stores, the rubber band, the
// hovered point's status panels, the axis tooltip; and runs the window's analyse animation on a
// timer.
//
// Mouse moves are coalesced: a move only remembers its position, and the latest one is handled
// once per pass of the event loop (before any other event of the surface, so the order holds).
// A rotation, pan or plane drag therefore costs one hover search and one frame however many
// moves the system delivers. Dropping the moves in between changes nothing: every drag step
// works on the difference to the previous handled position.
//
// The animation stops cleanly when the window closes or is hidden: its timer belongs to this
// object, which is a child of the window.
#include <QObject>
#include <QTimer>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "view3d/AnalyseAnimation.h"
#include "view3d/ScreenNavigator.h"
#include "view3d/ui/FormScreen.h"

class QLabel;

namespace kal {

class ScreenNavigationInput : public QObject, public ScreenInput {
    Q_OBJECT
  public:
    // Attaches itself to `window` (setInput) as a child of it.
    explicit ScreenNavigationInput(FormScreen& window);

    // The point cloud the window draws and the job's identical-point count; the pixel arrays
    // are the window's own (its model).
    void setScene(const PointCloud* cloud, std::int32_t identicalCount);
    // The identical-point count read anew before every event (it changes with every load).
    void setIdenticalCountSource(std::function<std::int32_t()> source) {
        identicalCountSource_ = std::move(source);
    }
    // LengthFactor and LengthFormat for the hover panels.
    void setLengthUnit(double factor, std::string format);
    // The same, read at every hover (they change with the units); overrides setLengthUnit.
    std::function<std::pair<double, std::string>()> lengthUnit;

    ScreenNavigator& navigator() { return navigator_; }

    // A click selected this cloud row (SelectedPointName, the main sheet's current row).
    std::function<void(std::int32_t row)> pointPicked;
    // The double click's colour dialog: current background in, the chosen colour out, nothing
    // when cancelled (the background then stays).
    std::function<std::optional<StoredColour>(StoredColour)> chooseColour;

    // The job's part of the animation's projection (vector direction, use flags, identical
    // count) for the window's surface; without it the turned vectors use the plain defaults.
    std::function<ProjectionInputs()> analyseProjection;

    // ---- Analyse mode (AnalyseModeAction) ----
    void startAnalyse();  // projects with the turned vectors once, then a frame every 40 ms
    void stopAnalyse();   // stops the timer and redraws the window normally
    void togglePause();   // the Pause key: the timer stops or goes on
    bool analysing() const { return analysing_; }
    const AnalyseAnimation& animation() const { return animation_; }
    int animationFrames() const { return animationFrames_; }
    const ViewArrays& animationArrays() const { return analyseArrays_; }  // taken once per run

    // Handles a move still waiting for its turn at once.
    void flushMove();

    // ---- ScreenInput ----
    void mousePress(FormScreen&, QMouseEvent* e) override;
    void mouseMove(FormScreen&, QMouseEvent* e) override;
    void mouseRelease(FormScreen&, QMouseEvent* e) override;
    void mouseDoubleClick(FormScreen&, QMouseEvent* e) override;
    void wheel(FormScreen&, QWheelEvent* e) override;
    void keyPress(FormScreen&, QKeyEvent* e) override;
    void keyRelease(FormScreen&, QKeyEvent* e) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void syncFromWindow();
    void syncPlaneNormal();
    void catchUpWithPointer(QMouseEvent* e, int buttonsHeld);
    void apply(const NavigationOutcome& out);
    void showHover(std::int32_t row);
    void analyseTick();
    void endAnalyse();

    FormScreen& window_;
    ScreenNavigator navigator_;
    const PointCloud* cloud_ = nullptr;
    std::int32_t identicalCount_ = 0;
    std::function<std::int32_t()> identicalCountSource_;
    double lengthFactor_ = 1;
    std::string lengthFormat_ = "0.000";
    std::optional<PointerInput> pendingMove_;
    QTimer moveTimer_;
    std::array<QLabel*, 7> panels_{};  // status panels 2..8 (panel 1 is the window's)

    QTimer analyseTimer_;
    AnalyseAnimation animation_;
    ViewArrays analyseArrays_;
    bool analysing_ = false;
    int animationFrames_ = 0;
};

// The classic key code of a Qt key (arrows, Pause, letters, numpad plus and minus, Shift and
// Ctrl themselves); 0 for the others.
int classicKeyCode(int qtKey, bool keypad);
// Shift 1, Ctrl 2, Alt 4 of the Qt modifiers (the keypad flag is no modifier).
int classicModifiers(Qt::KeyboardModifiers modifiers);

}  // namespace kal
