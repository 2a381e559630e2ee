#include <gtest/gtest.h>

#include <chrono>
#include <limits>

#include "shared/WaitMs.h"
#include "support/FakePlatform.h"

namespace kal {
namespace {

TEST(WaitMs, WaitsOnTheMonotonicClockAndLetsEventsThrough) {
    testing::FakeEventPump pump;
    const auto start = std::chrono::steady_clock::now();
    waitMs(30, &pump);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(30));
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_GE(pump.calls(), 1);
    EXPECT_LE(pump.calls(), 31);  // a round at most every millisecond, not a spin
}

TEST(WaitMs, NothingToWaitReturnsAtOnce) {
    testing::FakeEventPump pump;
    waitMs(0, &pump);
    waitMs(-5, &pump);
    waitMs(std::numeric_limits<double>::quiet_NaN(), &pump);
    EXPECT_EQ(pump.calls(), 0);
    waitMs(2, nullptr);
}

}  // namespace
}  // namespace kal
