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
    WaitMs(30, &pump);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(30));
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_GE(pump.calls(), 1);
    EXPECT_LE(pump.calls(), 31);  // a round at most every millisecond, not a spin
}

TEST(WaitMs, NothingToWaitReturnsAtOnce) {
    testing::FakeEventPump pump;
    WaitMs(0, &pump);
    WaitMs(-5, &pump);
    WaitMs(std::numeric_limits<double>::quiet_NaN(), &pump);
    EXPECT_EQ(pump.calls(), 0);
    WaitMs(2, nullptr);
}

}  // namespace
}  // namespace kal
