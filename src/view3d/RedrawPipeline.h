#pragma once
// The complete redraw of one graphics window (Stelle_Grafik_dar) as a picture of plain
// primitives: the classes and the projection of the cloud, then, in this order, the hiding
// plane, the points with their deviation vectors, selection ring and flag leader lines, the
// lines between points, the R vectors, the grids, the quaternion axis, the colour bar, the axes
// and scale bars, and last the point names, so that text stays on top of every graphic.
//
// Nothing is switched off and on again around a redraw: sizing points by depth for a flat cloud
// is decided locally, so a redraw that fails in a stage leaves every setting as it was, and the
// picture holds what was drawn up to the failure with the names placed so far on top.
#include <cstdint>
#include <string>

#include "shared/ImageBuffer.h"
#include "shared/JobState.h"
#include "shared/ViewRecords.h"
#include "view3d/CloudProjection.h"
#include "view3d/DisplayList.h"
#include "view3d/PointCloud.h"
#include "view3d/RedrawStages.h"
#include "view3d/ViewArrays.h"

namespace kal {

// What the redraw reads of the window and the process besides the view record and the job.
struct RedrawInputs {
    SurfaceSize surface;
    GraphicsFlagSet settings;                         // the process-wide display switches
    StoredColour background = 0;                      // the surface's background colour
    StoredColour foreground = storedColour(0, 0, 0);  // pen of the line segment being laid
    std::string SelectedPointName;                    // ringed in every window
    bool AnalyseFlag = false;                         // analyse animation running
    std::string OriginPointName;                      // see ProjectionInputs
    // Line mode state of the window outside its view record.
    bool SetLine = false;
    std::int32_t SelectedLine = 0;  // segment under the mouse, 0 for none
    float MouseX = 0, MouseY = 0;   // last mouse position over the surface
    // The job's RVec_X/Y/Z hold the points of the current solution (the result display wrote
    // them after the last calculation). False: no R vector is drawn.
    bool RVecCurrent = true;
    // Sizes of the window's label text, for stages that keep their captions apart; null: every
    // character 8 pixels wide.
    const platform::TextMetrics* textMetrics = nullptr;
};

// The width in pixels of a label drawn in the window's label font.
int labelTextWidth(const RedrawInputs& inputs, const std::string& text);
// Its width and line height (16 pixels when the window gave no sizes).
platform::TextSize labelTextSize(const RedrawInputs& inputs, const std::string& text);
// The box a drawn item covers, text measured in the window's label font.
OverlayBox itemBox(const RedrawInputs& inputs, const Primitive& item);

struct RedrawSummary {
    std::int32_t FlagLabelCount = 0;  // names placed
    std::int32_t pointsDrawn = 0;     // rows whose point was drawn
};

// Stelle_Grafik_dar. `out` is cleared to the background and refilled (its storage is reused).
// `cloud` gets its classes (columns 4, 5, 8..10, through `colouring`) and visible marks
// (column 16) rewritten; `view` may get Min and Max from the classification and offsets from a
// recentring; `arrays` hold this window's projection afterwards. Exceptions of a stage pass to
// the caller.
RedrawSummary redrawScene(PointCloud& cloud, ScreenProperties& view, ViewArrays& arrays, ViewOrigin& origin,
                          const JobState& job, const RedrawInputs& inputs, const CloudColouring& colouring,
                          const RedrawStages& stages, DisplayList& out);

}  // namespace kal
