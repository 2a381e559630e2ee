#include <gtest/gtest.h>

#include <thread>

#include "engine/ProgressThrottle.h"
#include "engine/RecordingProgress.h"
#include "support/FakePlatform.h"

namespace kal {
namespace {

TEST(ProgressThrottle, RepaintsAndLetsEventsThroughOnOneClock) {
    testing::RecordingProgress progress;
    testing::FakeEventPump events;
    // The interval is long enough that the tight loop ends inside it even on a loaded machine under the
    // sanitizers; a short one made the test depend on how fast the loop ran.
    ProgressThrottle throttle(&progress, &events, std::chrono::milliseconds(400));
    for (int i = 0; i < 10000; ++i) throttle.poll();
    EXPECT_EQ(progress.repaints, 0);  // a tight loop inside the interval neither repaints nor pumps
    EXPECT_EQ(events.calls(), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(450));
    throttle.poll();
    throttle.poll();
    EXPECT_EQ(progress.repaints, 1);
    EXPECT_EQ(events.calls(), 1);
    throttle.flush();
    EXPECT_EQ(progress.repaints, 2);
    EXPECT_EQ(events.calls(), 2);
}

}  // namespace
}  // namespace kal
