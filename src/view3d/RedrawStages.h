#pragma once
// The stages of a graphics window's redraw that other parts of the view own (hiding plane, name
// labels, flags, grids, quaternion axis, colour bar, axes, scale bars), reached through plain
// function members so the pipeline stays free of their code and tests can leave them out. An
// empty member skips its stage.
//
// The two colouring hooks of the cloud (tolerance classes and class colours) work the same way,
// except that an empty member falls back to a stand-in: every class 0, colour basis the 3-D
// deviation, drawn vector the deviation itself, every row light green (0, 255, 0).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "shared/JobState.h"
#include "shared/ViewRecords.h"
#include "view3d/DisplayList.h"
#include "view3d/OverlayRoom.h"
#include "view3d/PointCloud.h"
#include "view3d/ViewArrays.h"
#include "view3d/ViewProjection.h"

namespace kal {

struct RedrawInputs;

// Tolerance classes (Transform_dev_to_klasse): columns 4 (colour basis), 5 (class) and 8..10
// (vector to draw) of rows 1..IdenticalCount, from the job's MCSt and OCS points and the view's
// colour settings; may set the view's Min and Max when both are 0.
using ClassifyCloud = std::function<void(PointCloud& cloud, ScreenProperties& view, const JobState& job)>;
// Class colours (Calculate_RGB): column 6 of every row from its class.
using ColourCloud = std::function<void(PointCloud& cloud, const ScreenProperties& view, const JobState& job)>;

struct CloudColouring {
    ClassifyCloud classify;  // empty: classifyStandIn
    ColourCloud colour;      // empty: colourStandIn
};

// Stand-ins until the tolerance classes are plugged in: rows 1..n get the deviation (MCSt − OCS)
// as vector (columns 8..10), its length as colour basis (column 4) and class 0 (column 5).
void classifyStandIn(PointCloud& cloud, ScreenProperties& view, const JobState& job);
// Every row the colour of class 0, light green (0, 255, 0).
void colourStandIn(PointCloud& cloud, const ScreenProperties& view, const JobState& job);

// Runs the hook, or its stand-in when the hook is empty.
void classifyCloud(const CloudColouring& colouring, PointCloud& cloud, ScreenProperties& view,
                   const JobState& job);
void colourCloud(const CloudColouring& colouring, PointCloud& cloud, const ScreenProperties& view,
                 const JobState& job);

// What a stage sees of the redraw in progress. The projection arrays hold this window's
// projection of this redraw; `projection` turns single world points (origin shifts included)
// into this window's pixels.
struct RedrawContext {
    PointCloud& cloud;
    ScreenProperties& view;
    const ViewArrays& arrays;
    const ViewOrigin& origin;
    const ViewProjection& projection;
    const JobState& job;
    const RedrawInputs& inputs;
    DisplayList& out;                    // graphics, in drawing order
    std::vector<TextLabel>& nameLabels;  // point names; put on top after every graphics stage
    std::int32_t& FlagLabelCount;        // names placed in this redraw (counted by the name stage)
    // What the colour bar, the scale bars and the axis captions take of the surface, so that none
    // of them covers another.
    OverlayRoom room{};
};

struct RedrawStages {
    // Zeichne_Black_Plane and the visibility test: draws the plane and sets the visible mark
    // (column 16) of every row. Called only while the view's BlackPlane is on; when empty, every
    // row stays visible.
    std::function<void(RedrawContext&)> hidingPlane;
    // SetLabelToPos: the name of a drawn row, to be placed with its top-left at (x, y).
    std::function<void(RedrawContext&, const std::string& name, float x, float y)> nameLabel;
    // Shows or hides the widget of flag `flag` that labels cloud row `row`.
    std::function<void(RedrawContext&, std::int16_t flag, std::int32_t row, bool visible)> flagVisibility;
    // ZeichneLinieZuFahne: the leader line from row `row` to its visible flag `flag`.
    std::function<void(RedrawContext&, std::int16_t flag, std::int32_t row)> flagLeader;
    // Zeichne_KSGrid: called while GridXY, GridYZ or GridZX is on.
    std::function<void(RedrawContext&)> grids;
    // Zeichne_Quat: called while VectorQuat is on and a transformation has been calculated.
    std::function<void(RedrawContext&)> quaternionAxis;
    // Zeichne_ColorBar: called while ShowColorBar is on.
    std::function<void(RedrawContext&)> colourBar;
    // Zeichne_Kosys, then Zeichne_Scale: always called.
    std::function<void(RedrawContext&)> axes;
    std::function<void(RedrawContext&)> scaleBars;
};

}  // namespace kal
