#include "view3d/ScreenScene.h"

#include "view3d/PointCloudBuild.h"
#include "view3d/ScreenLoad.h"
#include "view3d/ScreenStages.h"

namespace kal {

SurfaceSize surfaceOf(const ScreenModel& screen) {
    return {screen.width, screen.height, screen.statusBarHeight};
}

SurfaceSize fitSurface(SurfaceSize surface, const JobState& job, const ScreenScene& scene) {
    surface.reservedRight = job.GraphicsFlags.ShowColorBar && scene.colourBarColumn
                                ? scene.colourBarColumn(surface.width, surface.height)
                                : 0;
    return surface;
}

void projectScreen(ScreenModel& screen, const JobState& job, const GraphicsSession& session) {
    ProjectionInputs in = projectionInputs(job, surfaceOf(screen), session.AnalyseFlag);
    in.OriginPointName = session.OriginPointName;
    projectCloud(screen.cloud, screen.view, screen.origin, in, screen.arrays);
    computePixels(screen.view, in, screen.arrays);
}

void buildScreenCloud(ScreenModel& screen, const JobState& job, const ScreenScene& scene,
                      const GraphicsSession& session) {
    ensureViewAngles(screen.view);
    buildPointCloud(screen.cloud, job, screen.view, scene.colouring);
    screen.pointsStamp = pointsStamp(job);
    ++screen.overlays.jobChange;  // the MCS box may have changed with the points
    projectScreen(screen, job, session);
}

RedrawSummary drawScreen(ScreenModel& screen, const JobState& job, const GraphicsSession& session,
                         const ScreenScene& scene) {
    RedrawInputs in;
    in.surface = surfaceOf(screen);
    in.settings = job.GraphicsFlags;
    in.background = screen.backColour;
    in.SelectedPointName = session.SelectedPointName;
    in.OriginPointName = session.OriginPointName;
    in.AnalyseFlag = session.AnalyseFlag;
    in.SetLine = screen.SetLine;
    in.SelectedLine = screen.SelectedLine;
    in.MouseX = screen.MouseX;
    in.MouseY = screen.MouseY;
    in.textMetrics = screen.textMetrics;
    ensureViewAngles(screen.view);
    return redrawScene(screen.cloud, screen.view, screen.arrays, screen.origin, job, in, scene.colouring,
                       screenStages(screen, scene.stages), screen.display);
}

void loadScreen(ScreenModel& screen, const JobState& job, const ScreenScene& scene,
                const GraphicsSession& session, StoredColour backColour) {
    initialiseNewScreen(screen, backColour);
    buildScreenCloud(screen, job, scene, session);
    const float m = largestColourBasis(screen.cloud);
    computeExtents(screen.arrays);
    setLoadVectorScale(screen, m, job.TrafoCalculated);
    fitView(screen.view, screen.arrays, fitSurface(surfaceOf(screen), job, scene));
    setLoadGridSpacing(screen);
    if (job.DefaultScreenProperties.ADis != 0)
        takeDefaultViewRecord(screen.view, job.DefaultScreenProperties, job.DefaultViewPointsStamp,
                              screen.pointsStamp, {m, screen.width, screen.height});
    sizeNewWindowLines(screen.view);
}

bool fitScreen(ScreenModel& screen, const JobState& job, const GraphicsSession& session,
               const ScreenScene& scene) {
    projectScreen(screen, job, session);
    return fitView(screen.view, screen.arrays, fitSurface(surfaceOf(screen), job, scene));
}

bool centreScreen(ScreenModel& screen, const JobState& job, const GraphicsSession& session,
                  const ScreenScene& scene) {
    projectScreen(screen, job, session);
    return centreView(screen.view, screen.arrays, fitSurface(surfaceOf(screen), job, scene));
}

bool followScreenResize(ScreenModel& screen, SurfaceSize before, const JobState& job,
                        const ScreenScene& scene) {
    return followSurface(screen.view, screen.arrays, fitSurface(before, job, scene),
                         fitSurface(surfaceOf(screen), job, scene));
}

}  // namespace kal
