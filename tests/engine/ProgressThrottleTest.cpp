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
    ProgressThrottle throttle(&progress, &events, std::chrono::milliseconds(30));
    for (int i = 0; i < 100000; ++i) throttle.poll();
    EXPECT_EQ(progress.repaints, 0);  // a tight loop inside the interval neither repaints nor pumps
    EXPECT_EQ(events.calls(), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
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
