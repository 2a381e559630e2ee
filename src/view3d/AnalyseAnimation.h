#pragma once
// The analyse mode of a graphics window (AnalyseModeAction) as a stepper: each frame moves
// every identical point from its resting pixel along its scaled deviation vector by the phase
// 0 → 1 → 0, so the eye sees where each point wants to go. The window calls nextFrame() on a
// timer and paints the frame onto its picture; there is no loop nested in an event.
//
// The phase runs in single precision with the step ±0.1: 0.1, 0.2, …, 1.0000001 (turn, clear),
// 0.9, …, 1.5e-8, 0 (turn, clear): 21 frames a cycle. Between frames the squares just drawn
// are drawn again in the background colour (erased), unless "KeepPoints" is on, when they stay
// as trails until the next clearing. Pixel positions and vectors are taken from the window's
// arrays as they were projected when the run started.
#include <cstdint>
#include <vector>

#include "shared/ImageBuffer.h"
#include "view3d/DisplayList.h"
#include "view3d/PointCloud.h"
#include "view3d/ViewArrays.h"

namespace kal {

// A flag whose grid is visible: its point gets a leader line from its resting centre to the
// centre of the grid in every pass.
struct FlagLeader {
    std::int32_t row = 0;
    float centreX = 0;
    float centreY = 0;
};

// What a pass reads of the window: the cloud's class (5), colour (6), shown (12) and visible
// (16) columns, the pixel arrays with the vectors already scaled, and the display settings.
struct AnalyseScene {
    const PointCloud* cloud = nullptr;
    const ViewArrays* arrays = nullptr;
    std::int32_t identicalCount = 0;
    std::int32_t BigNess = 1;
    std::int32_t AnzKlassenPos = 0;
    std::int32_t AnzKlassenNeg = 0;
    bool AusserhalbTol = false;
    StoredColour OuterColor = 0;
    std::vector<FlagLeader> leaders;
};

// One frame, painted onto the current picture in this order: `erase` (the previous pass in
// the background colour), then the clearing when `clear`, then `draw`.
struct AnalyseFrame {
    std::vector<Primitive> erase;
    bool clear = false;
    std::vector<Primitive> draw;
    float phase = 0;
};

inline constexpr StoredColour kPhaseMarkColour = storedColour(0, 255, 0);
inline constexpr StoredColour kAnalyseLeaderColour = storedColour(0, 100, 100);
inline constexpr int kAnalyseFrameMs = 40;

class AnalyseAnimation {
  public:
    // A new run: phase 0, step 0.1, not paused, nothing to erase.
    void start();
    // The next frame. `keepPoints` is "KeepPoints" (StopDrawFlag) as it stands now: when it is
    // off, this frame's squares are erased at the start of the next one.
    AnalyseFrame nextFrame(const AnalyseScene& scene, bool keepPoints, StoredColour background);

    float phase() const { return phase_; }
    float step() const { return step_; }
    bool paused() const { return paused_; }
    void togglePause() { paused_ = !paused_; }  // PauseFlag: the window stops its timer
    void setPaused(bool paused) { paused_ = paused; }

  private:
    float phase_ = 0;
    float step_ = 0.1f;
    bool paused_ = false;
    bool erasePending_ = false;
    float drawnPhase_ = 0;
};

// One pass over the identical points at `phase`: squares of BigNess × BigNess pixels in the
// points' colours, or all in `background` for an erase pass, the leader lines of flagged
// points, and the green phase mark (a 100-px stroke at height 100 × phase) when any point
// was passed over.
void appendAnalysePass(const AnalyseScene& scene, float phase, bool erase, StoredColour background,
                       std::vector<Primitive>& out);

}  // namespace kal
