#include "view3d/OverlayStages.h"

#include <algorithm>

#include "view3d/CoordinateAxes.h"
#include "view3d/GridOverlay.h"
#include "view3d/OverlayInputs.h"
#include "view3d/QuaternionOverlay.h"
#include "view3d/RedrawPipeline.h"
#include "view3d/ScaleBars.h"

namespace kal {

namespace {

// The captions are placed as names are, and marked as captions: when every overlay is drawn, a
// caption that would cover another overlay or an earlier caption is taken back.
PlaceLabel toListLabel(RedrawContext& ctx, const StageLabel& label) {
    return [&ctx, &label](DisplayList&, const std::string& text, float x, float y) {
        const std::size_t before = ctx.nameLabels.size();
        if (label)
            label(ctx, text, x, y);
        else
            placeCaptionLabel(ctx, text, x, y);
        for (std::size_t i = before; i < ctx.nameLabels.size(); ++i) ctx.room.captionLabels.push_back(i);
    };
}

}  // namespace

void placeCaptionLabel(RedrawContext& ctx, const std::string& text, float x, float y) {
    if (x > static_cast<float>(ctx.inputs.surface.width) || y > static_cast<float>(ctx.inputs.surface.height))
        return;
    const StoredColour white = storedColour(255, 255, 255);
    const StoredColour colour =
        ctx.out.background == white ? storedColour(0, 0, 0) : storedColour(192, 192, 192);
    ctx.nameLabels.push_back(TextLabel{{x, y}, text, colour});
    ++ctx.FlagLabelCount;
}

void hidingPlaneStage(RedrawContext& ctx, HidingPlaneGeometry& geometry) {
    runHidingPlaneStage(ctx.out, ctx.cloud, ctx.arrays, ctx.view, ctx.projection, ctx.inputs.surface.width,
                        ctx.inputs.surface.height, geometry);
}

void gridStage(RedrawContext& ctx) {
    GridOptions options;
    options.GridXY = ctx.view.GridXY;
    options.GridYZ = ctx.view.GridYZ;
    options.GridZX = ctx.view.GridZX;
    options.ShowGridDim = ctx.view.ShowGridDim;
    options.ADis = ctx.view.ADis;
    options.BDis = ctx.view.BDis;
    options.Cdis = ctx.view.Cdis;
    options.lengthFactor = ctx.job.LengthFactor;
    options.lengthFormat = ctx.job.LengthFormat;
    drawCoordinateGrid(ctx.out, ctx.projection, ctx.inputs.surface.width, ctx.inputs.surface.height, options);
}

void quaternionStage(RedrawContext& ctx, OverlayState& state, const StageLabel& label) {
    const std::int32_t length = systemAxisLength(state.extents.diagonal(ctx.job, state.jobChange));
    drawQuaternionAxis(ctx.out, ctx.projection, ctx.job.Params[kRotX], ctx.job.Params[kRotY],
                       ctx.job.Params[kRotZ], length, mcsToOcsMapper(ctx.job),
                       ctx.inputs.settings.ShowCoordinateSystemLabels, toListLabel(ctx, label));
}

namespace {

AxesOptions axesOptionsOf(const RedrawContext& ctx) {
    AxesOptions options;
    options.showLabels = ctx.inputs.settings.ShowCoordinateSystemLabels;
    options.nameOCS = ctx.job.NameOCS;
    options.nameMCS = ctx.job.NameMCS;
    return options;
}

// What the scale captions and bars keep clear of: the tripod with its labels, and a gap.
double rightOfTripod(const RedrawContext& ctx) {
    constexpr double kGap = 10;
    const AxesOptions options = axesOptionsOf(ctx);
    int labelWidth = 0;
    if (options.showLabels)
        for (const std::string& text : tripodLabels(options))
            labelWidth = std::max(labelWidth, labelTextWidth(ctx.inputs, text));
    return tripodRightEdge(options, labelWidth) + kGap;
}

}  // namespace

void axesStage(RedrawContext& ctx, OverlayState& state, const StageLabel& label) {
    AxesOptions options = axesOptionsOf(ctx);
    options.axisLength = systemAxisLength(state.extents.diagonal(ctx.job, state.jobChange));
    drawCoordinateAxes(ctx.out, ctx.projection, ctx.inputs.surface.height, options, mcsToOcsMapper(ctx.job),
                       toListLabel(ctx, label));
}

void scaleBarStage(RedrawContext& ctx) {
    ScaleBarOptions options;
    options.massstab = ctx.view.Massstab;
    options.vecMassstab = ctx.view.Vec_Massstab;
    options.vectorMode = ctx.view.VectorMode;
    options.lengthFactor = ctx.job.LengthFactor;
    options.lengthUnitName = ctx.job.LengthUnitName;
    options.surfaceWidth = ctx.inputs.surface.width;
    options.clearLeft = rightOfTripod(ctx);
    options.measure = [&ctx](const std::string& text) { return labelTextSize(ctx.inputs, text); };
    drawScaleBars(ctx.out, ctx.inputs.surface.height, options, &ctx.room);
}

void plugOverlayStages(RedrawStages& stages, OverlayState& state, StageLabel label) {
    stages.hidingPlane = [&state](RedrawContext& ctx) { hidingPlaneStage(ctx, state.hidingPlane); };
    stages.grids = [](RedrawContext& ctx) { gridStage(ctx); };
    stages.quaternionAxis = [&state, label](RedrawContext& ctx) { quaternionStage(ctx, state, label); };
    stages.axes = [&state, label](RedrawContext& ctx) { axesStage(ctx, state, label); };
    stages.scaleBars = [](RedrawContext& ctx) { scaleBarStage(ctx); };
}

}  // namespace kal
