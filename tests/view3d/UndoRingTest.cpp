// The undo ring of a graphics window: its counters, the Last / Next controls, a full ring, new
// branches after steps back, and the default view record each store replaces.
#include <gtest/gtest.h>

#include "support/SampleJobs.h"
#include "view3d/UndoRing.h"

namespace kal {
namespace {

// View k is told apart by its point size.
ScreenProperties view(int k) {
    ScreenProperties v = testing::makeView(1);
    v.BigNess = static_cast<std::int16_t>(k);
    return v;
}

struct Ring {
    UndoRing ring;
    ScreenProperties defaults;
    void store(int k) { ring.store(view(k), {1000, 800}, defaults); }
    int shown() const { return ring.current().BigNess; }
};

TEST(UndoRing, ThreeStoresThenTwoBackThenAStoreStartsANewBranch) {
    Ring r;
    for (int k = 1; k <= 3; ++k) r.store(k);
    EXPECT_EQ(r.ring.UndoIndex(), 3);
    EXPECT_EQ(r.ring.UndoBackCount(), 3);
    EXPECT_EQ(r.ring.controls(), (UndoControls{true, false, "Last View 2", "Next View 0"}));

    ASSERT_TRUE(r.ring.stepBack());
    EXPECT_EQ(r.ring.controls(), (UndoControls{true, true, "Last View 1", "Next View -1"}));
    ASSERT_TRUE(r.ring.stepBack());
    EXPECT_EQ(r.ring.UndoIndex(), 1);
    EXPECT_EQ(r.ring.UndoForwardCount(), -2);
    EXPECT_EQ(r.ring.controls(), (UndoControls{false, true, "Last View 0", "Next View -2"}));
    EXPECT_EQ(r.shown(), 1);
    EXPECT_FALSE(r.ring.stepBack());  // nothing further back: refused, nothing changes
    EXPECT_EQ(r.ring.UndoIndex(), 1);

    r.store(4);
    EXPECT_EQ(r.ring.UndoIndex(), 2);
    EXPECT_EQ(r.ring.UndoBackCount(), 2);
    EXPECT_EQ(r.ring.UndoForwardCount(), 0);
    EXPECT_EQ(r.ring.controls(), (UndoControls{true, false, "Last View 1", "Next View 0"}));
    EXPECT_FALSE(r.ring.stepForward());  // the views ahead were dropped
}

TEST(UndoRing, SixtyStoresKeepFiftyViewsAndAllowFortyNineStepsBack) {
    Ring r;
    for (int k = 1; k <= 60; ++k) r.store(k);
    EXPECT_EQ(r.ring.UndoIndex(), 10);  // 51st view went to slot 1 again
    EXPECT_EQ(r.ring.UndoBackCount(), 50);
    EXPECT_EQ(r.ring.stepsBack(), 49);
    for (int step = 1; step <= 49; ++step) {
        ASSERT_TRUE(r.ring.stepBack()) << step;
        EXPECT_EQ(r.shown(), 60 - step);
        EXPECT_EQ(r.ring.controls().lastEnabled, step < 49) << step;
    }
    EXPECT_EQ(r.shown(), 11);  // the oldest of the fifty
    EXPECT_FALSE(r.ring.stepBack());
    for (int step = 1; step <= 49; ++step) ASSERT_TRUE(r.ring.stepForward());
    EXPECT_EQ(r.shown(), 60);
    EXPECT_FALSE(r.ring.controls().nextEnabled);
}

TEST(UndoRing, StepsWrapBetweenSlotFiftyAndSlotOne) {
    Ring r;
    for (int k = 1; k <= 51; ++k) r.store(k);
    EXPECT_EQ(r.ring.UndoIndex(), 1);
    ASSERT_TRUE(r.ring.stepBack());
    EXPECT_EQ(r.ring.UndoIndex(), 50);
    EXPECT_EQ(r.shown(), 50);
    ASSERT_TRUE(r.ring.stepForward());
    EXPECT_EQ(r.ring.UndoIndex(), 1);
    EXPECT_EQ(r.shown(), 51);
}

// A full ring, five steps back and a store: the five views undone never come back as "earlier"
// views (the count drops to 46 instead of staying at 50).
TEST(UndoRing, FullRingBranchDoesNotReplayUndoneViews) {
    Ring r;
    for (int k = 1; k <= 60; ++k) r.store(k);
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(r.ring.stepBack());
    EXPECT_EQ(r.shown(), 55);
    r.store(61);
    EXPECT_EQ(r.ring.UndoBackCount(), 46);
    std::vector<int> seen;
    while (r.ring.stepBack()) seen.push_back(r.shown());
    ASSERT_EQ(seen.size(), 45u);
    EXPECT_EQ(seen.front(), 55);
    EXPECT_EQ(seen.back(), 11);
    for (int s : seen) EXPECT_LE(s, 55);
}

TEST(UndoRing, EveryStoreReplacesTheDefaultRecord) {
    UndoRing a, b;
    ScreenProperties defaults;
    ScreenProperties viewA = view(7), viewB = view(9);
    viewB.ADis = 40;
    viewB.CS_Type = "SPH";
    a.store(viewA, {2000, 1500}, defaults);
    EXPECT_EQ(defaults, a.current());
    EXPECT_EQ(defaults.WindowWidth, 2000);
    b.store(viewB, {1000, 800}, defaults);
    EXPECT_EQ(defaults, b.current());
    EXPECT_EQ(defaults.BigNess, 9);
    // A third window opened now takes B's display settings.
    ScreenProperties third;
    ASSERT_TRUE(takeDefaultDisplaySettings(defaults, third));
    EXPECT_EQ(third.CS_Type, "SPH");
    EXPECT_EQ(third.ADis, 40);
    EXPECT_EQ(third.BigNess, 9);
}

TEST(UndoRing, EmptyRingRefusesStepsAndShowsNoNegativeCount) {
    UndoRing ring;
    EXPECT_FALSE(ring.hasView());
    EXPECT_FALSE(ring.stepBack());
    EXPECT_FALSE(ring.stepForward());
    EXPECT_EQ(ring.UndoIndex(), 0);
    EXPECT_EQ(ring.controls(), (UndoControls{false, false, "Last View 0", "Next View 0"}));
    Ring r;
    r.store(1);  // first view: slot 1, no step back yet
    EXPECT_EQ(r.ring.controls(), (UndoControls{false, false, "Last View 0", "Next View 0"}));
}

// The ring's slots hold the flags, not the cloud: a store of a view over 10^6 rows copies only
// the rows that carry a flag.
TEST(UndoRing, SlotsHoldFlagsNotRows) {
    Ring r;
    ScreenProperties big = view(1);
    big.FlagOfPoint.clear();
    big.FlagOfPoint.resize(1'000'000);
    big.FlagOfPoint.set(999'999, 1);
    r.ring.store(big, {}, r.defaults);
    EXPECT_EQ(r.ring.current().FlagOfPoint.upper(), 1'000'000);
    EXPECT_EQ(r.ring.current().FlagOfPoint.flaggedRows().size(), 1u);
    EXPECT_EQ(r.defaults.FlagOfPoint[999'999], 1);
}

}  // namespace
}  // namespace kal
