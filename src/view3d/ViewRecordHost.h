#pragma once
// What the main window's "&Views" commands need of a graphics window: its undo ring and the
// three ways it changes the view it shows. The graphics window implements it beside the main
// window's GraphicsWindow interface; the commands find it on the default graphics window.
#include <cstdint>

#include "view3d/UndoRing.h"

namespace kal {

class ViewRecordHost {
  public:
    virtual ~ViewRecordHost() = default;
    virtual const UndoRing& undoRing() const = 0;
    // (Rückgängig_Back, Rückgängig_Force) One view back or forward; nothing when there is none.
    virtual void showPreviousView() = 0;
    virtual void showNextView() = 0;
    // (GetScreenPropertiesFromSavedView) Saved view `toGet` (1..ViewCount) of the job.
    virtual void showSavedView(std::int32_t toGet) = 0;
};

}  // namespace kal
