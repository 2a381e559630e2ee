#pragma once
// One graphics window over the redraw pipeline: what a window hands of its own state and of the
// process to the cloud build, the projection, the fit and the redraw, and the order of its load.
// The stages other parts own (hiding plane, grids, axes, colour bar, names, flags) and the class
// colouring reach every window through one ScreenScene.
#include <functional>

#include "shared/JobState.h"
#include "view3d/CloudProjection.h"
#include "view3d/RedrawPipeline.h"
#include "view3d/RedrawStages.h"
#include "view3d/ScreenModel.h"

namespace kal {

// What every graphics window draws with besides its own state. A stage set here replaces the
// window's own stage of that name (see ScreenStages.h); an empty one leaves the window's.
struct ScreenScene {
    CloudColouring colouring;
    RedrawStages stages;
    // How many pixels at the right edge of a width × height surface the colour bar and its
    // labels take; the fit keeps them free while the bar is shown. Empty: no bar is drawn.
    std::function<int(int width, int height)> colourBarColumn;
};

// The window's surface as the pipeline takes it (the status bar lies outside the surface).
SurfaceSize surfaceOf(const ScreenModel& screen);

// A surface as the fit takes it: with the colour bar's column reserved while the bar is shown.
SurfaceSize fitSurface(SurfaceSize surface, const JobState& job, const ScreenScene& scene);

// Grafik_Festlegen: rebuilds the window's cloud from the job and projects it (view coordinates
// and extents), as the load and a new calculation need.
void buildScreenCloud(ScreenModel& screen, const JobState& job, const ScreenScene& scene,
                      const GraphicsSession& session);

// rechne_PixelCloud and Rechne_pixel with the window's angles: view coordinates, extents, pixels.
void projectScreen(ScreenModel& screen, const JobState& job, const GraphicsSession& session);

// Stelle_Grafik_dar into screen.display (cleared to the window's background first).
RedrawSummary drawScreen(ScreenModel& screen, const JobState& job, const GraphicsSession& session,
                         const ScreenScene& scene);

// The load of a new window up to, not including, its first redraw: starting values, cloud,
// vector scale and tolerance limit from the cloud, the fit to the surface (screen.width/height
// must be the surface's), the grid spacing, the default view record's display settings when it
// is set, and the one empty line slot. `backColour` is the program's ScreenBackColor.
void loadScreen(ScreenModel& screen, const JobState& job, const ScreenScene& scene,
                const GraphicsSession& session, StoredColour backColour);

// GrafikAnpassen without its redraw and store: fit the cloud into the surface, clear of the
// colour bar. False when there is nothing to fit (the view stays).
bool fitScreen(ScreenModel& screen, const JobState& job, const GraphicsSession& session,
               const ScreenScene& scene);
// Center without its store: the extents' middle to the middle of the surface left of the colour
// bar, at the current zoom.
bool centreScreen(ScreenModel& screen, const JobState& job, const GraphicsSession& session,
                  const ScreenScene& scene);

// The window's surface has been resized from `before` to its current size (screen.width and
// height): the view follows (followSurface), clear of the colour bar. False when the view stays.
bool followScreenResize(ScreenModel& screen, SurfaceSize before, const JobState& job,
                        const ScreenScene& scene);

}  // namespace kal
