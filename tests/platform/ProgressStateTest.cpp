#include <gtest/gtest.h>

#include "platform/Progress.h"

namespace kal::platform {
namespace {

TEST(ProgressState, OpeningClearsALeftoverStopAndCancelSetsIt) {
    bool stop = true;
    ProgressState p(stop);
    p.open();
    EXPECT_FALSE(stop);
    EXPECT_TRUE(p.isOpen());
    p.cancel();
    EXPECT_TRUE(stop);
    EXPECT_FALSE(p.isOpen());
    p.open();  // the next loop starts afresh
    EXPECT_FALSE(stop);
}

TEST(ProgressState, AWriteAfterCancelNeitherReopensNorLosesTheCancel) {
    bool stop = false;
    ProgressState p(stop);
    p.open();
    p.cancel();
    EXPECT_FALSE(p.setValue(50));
    EXPECT_FALSE(p.isOpen());
    EXPECT_TRUE(stop);
}

TEST(ProgressState, TheBarIsSetOnlyWhenItsClampedValueChanges) {
    bool stop = false;
    ProgressState p(stop);
    p.open();
    EXPECT_TRUE(p.setValue(10));
    EXPECT_FALSE(p.setValue(10));
    EXPECT_TRUE(p.setValue(150));
    EXPECT_EQ(p.value(), 100);
    EXPECT_FALSE(p.setValue(101));
    p.close();
    EXPECT_FALSE(stop);  // the loop's own end is no stop
}

}  // namespace
}  // namespace kal::platform
