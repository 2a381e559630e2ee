#include "view3d/AnalyseAnimation.h"

#include <algorithm>
#include <cmath>

namespace kal {

void AnalyseAnimation::start() {
    phase_ = 0;
    step_ = 0.1f;
    paused_ = false;
    erasePending_ = false;
    drawnPhase_ = 0;
}

AnalyseFrame AnalyseAnimation::nextFrame(const AnalyseScene& scene, bool keepPoints,
                                         StoredColour background) {
    AnalyseFrame frame;
    if (erasePending_) appendAnalysePass(scene, drawnPhase_, true, background, frame.erase);
    erasePending_ = false;

    phase_ = phase_ + step_;
    if (phase_ < 0) phase_ = 0;
    if (phase_ > 1) {
        step_ = -step_;
        frame.clear = true;
    }
    if (phase_ <= 0) {
        step_ = -step_;
        frame.clear = true;
    }
    appendAnalysePass(scene, phase_, false, background, frame.draw);
    frame.phase = phase_;
    drawnPhase_ = phase_;
    erasePending_ = !keepPoints;
    return frame;
}

void appendAnalysePass(const AnalyseScene& scene, float phase, bool erase, StoredColour background,
                       std::vector<Primitive>& out) {
    if (scene.cloud == nullptr || scene.arrays == nullptr) return;
    const PointCloud& cloud = *scene.cloud;
    const ViewArrays& arrays = *scene.arrays;
    const std::int32_t last = std::min({scene.identicalCount, cloud.count(), arrays.rows(),
                                        static_cast<std::int32_t>(arrays.VectorPixelX.size()) - 1,
                                        static_cast<std::int32_t>(arrays.VectorPixelY.size()) - 1});
    auto leftOut = [&](std::int32_t i) {
        const float cls = cloud(i, cloud::ToleranceClass);
        // An out-of-tolerance point in the background colour would be invisible anyway.
        const bool invisibleOuter = scene.AusserhalbTol &&
                                    (cls > scene.AnzKlassenPos || cls < -scene.AnzKlassenNeg) &&
                                    scene.OuterColor == background;
        return invisibleOuter || cloud(i, cloud::Shown) != 1 || cloud(i, cloud::Visible) != 1;
    };
    bool anyPoint = false;
    for (std::int32_t i = 1; i <= last; ++i) {
        if (leftOut(i)) continue;
        anyPoint = true;
        const auto at = static_cast<std::size_t>(i);
        const StoredColour colour =
            erase ? background : static_cast<StoredColour>(std::nearbyint(cloud(i, cloud::Colour)));
        if (scene.BigNess >= 1) {
            const float column = 1.0f + arrays.PixelX[at] + phase * arrays.VectorPixelX[at];
            const float row = 1.0f + arrays.PixelY[at] + phase * arrays.VectorPixelY[at];
            out.emplace_back(FilledRect{static_cast<std::int32_t>(std::nearbyint(column)),
                                        static_cast<std::int32_t>(std::nearbyint(row)), scene.BigNess,
                                        scene.BigNess, colour});
        }
    }
    // Leaders stay at the resting position: they do not follow the moving squares.
    for (const FlagLeader& leader : scene.leaders) {
        if (leader.row < 1 || leader.row > last || leftOut(leader.row)) continue;
        const auto at = static_cast<std::size_t>(leader.row);
        const float half = static_cast<float>(scene.BigNess) / 2;
        out.emplace_back(Segment{{arrays.PixelX[at] + half, arrays.PixelY[at] + half},
                                 {leader.centreX, leader.centreY},
                                 1,
                                 kAnalyseLeaderColour});
    }
    // Where the phase stands, from 0 (top) to 1 (100 px down); never erased, only cleared.
    if (anyPoint) out.emplace_back(Segment{{0, 100 * phase}, {100, 100 * phase}, 1, kPhaseMarkColour});
}

}  // namespace kal
