#pragma once
// Small views and jobs for the graphics tests: the top view a new window starts with, and jobs
// whose points sit where a test wants them.
#include <string>
#include <vector>

#include "shared/JobState.h"
#include "shared/ViewRecords.h"

namespace kal::testing {

inline constexpr double kNewWindowAngle = -3.14159265358979;

// The view of a new window: angles (−3.14159265358979, 0, 0), so world (x, y) lands on pixel
// (Massstab·(x + 200) + OffsetX, H − Massstab·(y + 200) − OffsetY).
inline ScreenProperties topView(float massstab = 1.0f, float offsetX = -200.0f, float offsetY = -200.0f) {
    ScreenProperties view;
    view.ViewAngles.resize(2, 3);
    view.ViewAngles(1, 1) = kNewWindowAngle;
    view.Massstab = massstab;
    view.OffsetX = offsetX;
    view.OffsetY = offsetY;
    view.BigNess = 2;
    view.Vec_Massstab = 1.0f;
    view.AnzKlassenPos = 10;
    view.AnzKlassenNeg = 10;
    return view;
}

struct ScenePoint {
    std::string name;
    double x, y, z;
};

// A job of identical points (MCSt given, OCS given) followed by MCS-only and OCS-only points;
// every use flag 1, every view filter on.
inline JobState sceneJob(const std::vector<ScenePoint>& mcsIdentical,
                         const std::vector<ScenePoint>& ocsIdentical,
                         const std::vector<ScenePoint>& mcsOnly = {},
                         const std::vector<ScenePoint>& ocsOnly = {}) {
    JobState job;
    job.IdenticalCount = static_cast<std::int32_t>(mcsIdentical.size());
    job.McsCount = job.IdenticalCount + static_cast<std::int32_t>(mcsOnly.size());
    job.OcsCount = job.IdenticalCount + static_cast<std::int32_t>(ocsOnly.size());
    auto fill = [](const std::vector<ScenePoint>& a, const std::vector<ScenePoint>& b,
                   std::vector<std::string>& names, TaggedArray& x, TaggedArray& y, std::vector<double>& z) {
        const auto count = static_cast<std::int32_t>(a.size() + b.size());
        names.assign(static_cast<std::size_t>(count) + 1, std::string());
        x = TaggedArray(count);
        y = TaggedArray(count);
        z.assign(static_cast<std::size_t>(count) + 1, 0.0);
        std::int32_t i = 0;
        for (const auto* list : {&a, &b})
            for (const ScenePoint& p : *list) {
                ++i;
                names[static_cast<std::size_t>(i)] = p.name;
                x.set(i, p.x), y.set(i, p.y), z[static_cast<std::size_t>(i)] = p.z;
            }
    };
    fill(mcsIdentical, mcsOnly, job.MCS_Name, job.MCS_X, job.MCS_Y, job.MCS_Z);
    fill(ocsIdentical, ocsOnly, job.OCS_Name, job.OCS_X, job.OCS_Y, job.OCS_Z);
    job.MCSt_Name = job.MCS_Name;
    job.MCSt_X = job.MCS_X;
    job.MCSt_Y = job.MCS_Y;
    job.MCSt_Z = job.MCS_Z;
    job.sizeDerivedArrays(1);
    for (std::size_t k = 1; k < job.UseFlags.size(); ++k) job.UseFlags[k] = 1;
    auto& f = job.GraphicsFlags;
    f.ViewAllMCS = f.ViewAllOCS = f.ViewAllonlyMCS = f.ViewAllonlyOCS = true;
    f.DevVecDirection = true;
    job.DataLoaded = true;
    return job;
}

}  // namespace kal::testing
