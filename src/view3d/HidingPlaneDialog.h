#pragma once
// The rules of the hiding-plane dialog "BlackPlane" (FormBlackPlane): two check boxes, a button
// that sets the planes up at once, and Apply, all acting on the default graphics window, which
// is looked up anew for every action (it changes when another graphics window is activated).
#include <functional>

#include "shared/JobState.h"
#include "shared/ViewRecords.h"

namespace kal {

// A graphics window as the hiding-plane dialog acts on it.
class HidingPlaneWindow {
  public:
    virtual ~HidingPlaneWindow() = default;
    // The window's live view (BlackPlane, BlackPlaneBorders, BlackInitial, ...).
    virtual ScreenProperties& screenProperties() = 0;
    // Sets the planes up parallel to the present screen, or switches them off, and shows the
    // result (Initialisieren_BlackPlane): initialiseHidingPlane() with the window's projection,
    // then a redraw.
    virtual void initialiseBlackPlane(bool activate, bool showBorders) = 0;
    // Every row of the point cloud visible again.
    virtual void makeAllPointsVisible() = 0;
    virtual void redraw() = 0;                 // Stelle_Grafik_dar
    virtual void storeScreenProperties() = 0;  // StoreScreenPropertiesToRecord: the view into the undo ring
};

class HidingPlaneDialog {
  public:
    struct State {
        bool activate = false;     // CheckActivate
        bool showBorders = false;  // CheckShowBlackPlanes
        bool showBordersEnabled = false;
        bool initialiseEnabled = false;  // BtnInit
        bool operator==(const State&) const = default;
    };

    // `defaultWindow` finds the default graphics window (findLFDFORM); nullptr when none is
    // open, and then every action does nothing.
    HidingPlaneDialog(std::function<HidingPlaneWindow*()> defaultWindow, JobState& job)
        : defaultWindow_(std::move(defaultWindow)), job_(job) {}

    const State& state() const { return state_; }

    // The boxes from the default window's BlackPlane and BlackPlaneBorders.
    void load();
    void setActivate(bool on);  // enables the borders box and "&Initialize Planes" with it
    void setShowBorders(bool on);

    // "&Initialize Planes": the planes are set up at once; closing with Cancel keeps them
    // (FormBlackPlane.Initialisieren). False when no graphics window is open.
    bool initialise();
    // Apply and OK (FormBlackPlane.Übernehmen): switches hiding on (setting the planes up if
    // they never were) or off (every point visible again), sets the borders, redraws, stores
    // the view and marks the job changed. False when no graphics window is open.
    bool apply();

  private:
    std::function<HidingPlaneWindow*()> defaultWindow_;
    JobState& job_;
    State state_;
};

}  // namespace kal
