#include <gtest/gtest.h>

#include "annotation/ClassColours.h"
#include "annotation/ColouringHooks.h"
#include "platform/Regional.h"
#include "view3d/RedrawPipeline.h"

namespace kal {
namespace {

TEST(ColouringHooks, ClassifyAndColourThroughTheCloudHooks) {
    JobState job;
    job.IdenticalCount = 1;
    job.MCSt_X.resize(1);
    job.MCSt_Y.resize(1);
    job.MCSt_Z.assign(2, 0.0);
    job.OCS_X.resize(1);
    job.OCS_Y.resize(1);
    job.OCS_Z.assign(2, 0.0);
    job.MCSt_X.set(1, 0.05);
    job.OCS_X.set(1, 0);
    job.MCSt_Y.set(1, 0);
    job.OCS_Y.set(1, 0);
    PointCloud cloud;
    cloud.reset(2);
    ScreenProperties view;
    view.AnzKlassenPos = view.AnzKlassenNeg = 10;
    view.Max = 0.5;
    view.Min = -0.5;

    bool twoColour = false;
    const CloudColouring colouring = toleranceColouring([&] { return twoColour; });
    classifyCloud(colouring, cloud, view, job);
    colourCloud(colouring, cloud, view, job);
    EXPECT_EQ(cloud(1, cloud::ToleranceClass), 2.0f);
    EXPECT_EQ(cloud(1, cloud::Colour), static_cast<float>(*classColour(2, classColourSettings(view, false))));
    twoColour = true;
    colourCloud(colouring, cloud, view, job);
    EXPECT_EQ(cloud(1, cloud::Colour), static_cast<float>(storedColour(0, 255, 0)));
}

TEST(ColouringHooks, ColourBarStageDrawsAtTheSurfaceEdge) {
    platform::ScopedDecimalSeparator point('.');
    JobState job;
    job.LengthFactor = 1;
    PointCloud cloud;
    ScreenProperties view;
    view.AnzKlassenPos = view.AnzKlassenNeg = 10;
    view.Max = 0.56;
    view.Min = -0.13;
    ViewArrays arrays;
    ViewOrigin origin;
    ViewProjection projection;
    RedrawInputs inputs;
    inputs.surface = SurfaceSize{800, 600, 0};
    DisplayList out;
    std::vector<TextLabel> names;
    std::int32_t labelCount = 0;
    RedrawContext ctx{cloud, view, arrays, origin, projection, job, inputs, out, names, labelCount, {}};
    colourBarStage()(ctx);
    ASSERT_EQ(out.items.size(), 23u);
    EXPECT_EQ(std::get<FilledRect>(out.items[10]).top, 300);
    EXPECT_EQ(std::get<TextLabel>(out.items[22]).text, "0.56");
}

}  // namespace
}  // namespace kal
