// The fixed overlays of a graphics window (colour bar with its limits, scale bars with their
// captions, tripod, axis and quaternion captions) over the demo job in windows from large to the
// small ones Arrange makes: none covers another.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "annotation/ClassColours.h"
#include "annotation/ColouringHooks.h"
#include "support/FakeTextMetrics.h"
#include "support/SampleJobs.h"
#include "view3d/ScreenScene.h"
#include "view3d/StandardPalette.h"
#include "view3d/ViewSteps.h"

namespace kal {
namespace {

struct Placed {
    std::string what;
    float left, top, right, bottom;
    bool overlaps(const Placed& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
};

// Every overlay of the picture as a box: the colour bar with its two limits as one, each scale
// bar with its end ticks, and every caption (8 pixels a character, 16 a line).
std::vector<Placed> overlaysOf(const DisplayList& list, int width, int height, const ScreenProperties& view) {
    const ColourBarGeometry g = colourBarGeometry(width, height, view.AnzKlassenPos, view.AnzKlassenNeg);
    std::vector<Placed> out;
    Placed bar{"colour bar", 1e9f, 1e9f, -1e9f, -1e9f};
    bool anyBar = false;
    auto grow = [&](float l, float t, float r, float b) {
        bar.left = std::min(bar.left, l), bar.top = std::min(bar.top, t);
        bar.right = std::max(bar.right, r), bar.bottom = std::max(bar.bottom, b);
        anyBar = true;
    };
    for (const auto& item : list.items) {
        if (const auto* r = std::get_if<FilledRect>(&item)) {
            grow(float(r->left), float(r->top), float(r->left + r->width), float(r->top + r->height));
        } else if (const auto* t = std::get_if<TextLabel>(&item)) {
            const float w = 8.0f * float(t->text.size()), h = 16;
            if (t->at == g.minLabel || t->at == g.maxLabel)
                grow(t->at.x, t->at.y, t->at.x + w, t->at.y + h);
            else
                out.push_back({t->text, t->at.x, t->at.y, t->at.x + w, t->at.y + h});
        } else if (const auto* s = std::get_if<Segment>(&item)) {
            if (s->colour == paletteColour(palette::LightBlue) && s->from.y == s->to.y)
                out.push_back({"scale bar", std::min(s->from.x, s->to.x), s->from.y - 3,
                               std::max(s->from.x, s->to.x) + 1, s->from.y + 4});
        }
    }
    if (anyBar) out.push_back(bar);
    return out;
}

TEST(OverlayLayout, NoOverlayCoversTheColourBarOrAnotherAtAnySize) {
    JobState job = testing::makeDemoJob(KALVORETH_EXAMPLES);
    for (std::int32_t i = 1; i <= job.IdenticalCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        job.MCSt_X.set(i, job.OCS_X[i] + 0.01 * i), job.MCSt_Y.set(i, job.OCS_Y[i]),
            job.MCSt_Z[k] = job.OCS_Z[k];
    }
    job.TrafoCalculated = true;
    job.GraphicsFlags.ShowColorBar = true;
    job.GraphicsFlags.ShowCoordinateSystemLabels = true;
    job.GraphicsFlags.VectorQuat = true;
    job.GraphicsFlags.ShowPointNames = false;
    const FakeTextMetrics metrics;
    ScreenScene scene;
    scene.colouring = toleranceColouring();
    scene.stages.colourBar = colourBarStage();
    scene.colourBarColumn = [](int w, int h) { return colourBarColumnWidth(w, h); };
    const GraphicsSession session;

    const int sizes[][2] = {{1100, 700}, {800, 520}, {683, 384}, {640, 360}, {510, 400},
                            {510, 300},  {420, 205}, {300, 200}, {250, 160}};
    const StandardView views[] = {StandardView::Top, StandardView::Iso, StandardView::Front,
                                  StandardView::Side};
    for (const auto& size : sizes) {
        for (const StandardView which : views) {
            SCOPED_TRACE(std::to_string(size[0]) + " x " + std::to_string(size[1]) + " view " +
                         std::to_string(static_cast<int>(which)));
            ScreenModel s;
            s.width = size[0], s.height = size[1];
            s.textMetrics = &metrics;
            loadScreen(s, job, scene, session, storedColour(255, 255, 255));
            const ViewAngleTriple a = standardViewAngles(which);
            s.view.ViewAngles(1, 1) = a.a1, s.view.ViewAngles(1, 2) = a.a2, s.view.ViewAngles(1, 3) = a.a3;
            fitScreen(s, job, session, scene);
            s.view.VectorMode = true;
            s.view.Min = -0.1, s.view.Max = 0.1;  // limits "-0.10" and "0.10"
            drawScreen(s, job, session, scene);

            const std::vector<Placed> placed = overlaysOf(s.display, s.width, s.height, s.view);
            for (std::size_t i = 0; i < placed.size(); ++i)
                for (std::size_t j = i + 1; j < placed.size(); ++j)
                    EXPECT_FALSE(placed[i].overlaps(placed[j])) << placed[i].what << " / " << placed[j].what;
            if (size[0] >= 800) {  // room for everything: the captions are still there
                int scaleCaptions = 0;
                for (const Placed& p : placed) scaleCaptions += p.what.rfind("Scale", 0) == 0;
                EXPECT_EQ(scaleCaptions, 2);
            }
        }
    }
}

}  // namespace
}  // namespace kal
