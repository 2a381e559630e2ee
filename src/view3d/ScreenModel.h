#pragma once
// The state of one graphics window that its commands work on: its point table, the view record it shows
// (zoom, offsets, angles, point size, vector scale, classes, grids, lines, flags), its own projection arrays
// and rotation origin, the picture of its last redraw, the surface size and the last mouse position. Every
// window owns one, so two windows never share a projection.
//
// GraphicsSession holds the few switches that all graphics windows share.
#include <cstdint>
#include <functional>
#include <string>

#include "shared/ViewRecords.h"
#include "view3d/DisplayList.h"
#include "view3d/OverlayStages.h"
#include "view3d/PointCloud.h"
#include "view3d/ViewArrays.h"

namespace kal {

namespace platform {
class Prompter;
class TextMetrics;
}  // namespace platform

// Switches shared by every graphics window of the program.
struct GraphicsSession {
    bool ZoomAtMouse = false;         // the next zoom-in zooms about the last mouse position (wheel)
    bool ScreenWindowActive = false;  // a graphics window is the active child window
    bool StopDrawFlag = false;        // the analyse animation keeps its drawn points ("KeepPoints")
    bool AnalyseFlag = false;         // the analyse animation runs
    std::string SelectedPointName;    // the point picked last, ringed in every window
    // The point about which "Rotate about" turns the views: the name of the main-sheet row a pick
    // last went to (OriginPointIndex), so a sorted sheet or an MCS-only point still finds it.
    std::string OriginPointName;
};

struct ScreenModel {
    // The window's own table of drawable points: its classes, colours and visible marks follow
    // its own colour settings and hiding plane.
    PointCloud cloud;
    ScreenProperties view;  // the window's live view
    ViewArrays arrays;
    ViewOrigin origin;
    DisplayList display;
    int width = 0;  // the drawing surface (ScreenPixel) in pixels
    int height = 0;
    int statusBarHeight = 0;  // the status bar below the surface (0 while it is hidden), pixels
    float MouseX = 0;         // last mouse position over the surface, pixels
    float MouseY = 0;
    bool SetLine = false;  // line-mode sub-states; LineMode itself is in the view record
    bool DeleteLine = false;
    std::int32_t SelectedLine = 0;  // segment under the mouse in delete-line mode, 0 for none
    StoredColour backColour = storedColour(255, 255, 255);  // the surface's background colour
    // What the overlay stages keep between redraws: the MCS box (rescanned when `jobChange`
    // moves, which every rebuild of the cloud raises) and the hiding planes in the current view.
    OverlayState overlays;
    // Stamp of the job's points the cloud was last built from (pointsStamp); a view stored from
    // this window carries it into the default view record.
    std::uint64_t pointsStamp = 0;
    // Sizes of text in the window's label font (the window's own); null: estimated.
    const platform::TextMetrics* textMetrics = nullptr;
};

// What a view command calls back into its window for. An empty member is skipped.
struct ScreenActions {
    std::function<void()> project;    // project the cloud with the window's angles (rechne_PixelCloud)
    std::function<void()> redraw;     // Stelle_Grafik_dar
    std::function<void()> storeView;  // push the view into the undo ring (StoreScreenPropertiesToRecord)
    platform::Prompter* prompter = nullptr;

    void doProject() const {
        if (project) project();
    }
    void doRedraw() const {
        if (redraw) redraw();
    }
    void doStore() const {
        if (storeView) storeView();
    }
};

// Sizes ViewAngles to 0..2 by 0..3 when it is not, so that elements (1, 1..3) exist.
inline void ensureViewAngles(ScreenProperties& view) {
    if (view.ViewAngles.rows() < 2 || view.ViewAngles.cols() < 3) view.ViewAngles.resize(2, 3);
}

}  // namespace kal
