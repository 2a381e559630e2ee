#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view3d/HidingPlaneDialog.h"

namespace kal {
namespace {

// A graphics window that records what the dialog asks of it.
class RecordingWindow : public HidingPlaneWindow {
  public:
    ScreenProperties view;
    std::vector<std::string> calls;

    ScreenProperties& screenProperties() override { return view; }
    void initialiseBlackPlane(bool activate, bool showBorders) override {
        calls.push_back(std::string("init ") + (activate ? "on" : "off") + (showBorders ? " borders" : ""));
        view.BlackInitial = view.BlackPlane = activate;
        view.BlackPlaneBorders = showBorders;
    }
    void makeAllPointsVisible() override { calls.push_back("all visible"); }
    void redraw() override { calls.push_back("redraw"); }
    void storeScreenProperties() override { calls.push_back("store"); }
};

TEST(HidingPlaneDialog, LoadsTheBoxesFromTheDefaultWindowAndEnablesWithActivate) {
    RecordingWindow window;
    window.view.BlackPlane = true;
    window.view.BlackPlaneBorders = false;
    JobState job;
    HidingPlaneDialog dialog([&] { return &window; }, job);
    dialog.load();
    EXPECT_EQ(dialog.state(), (HidingPlaneDialog::State{true, false, true, true}));
    dialog.setActivate(false);
    EXPECT_EQ(dialog.state(), (HidingPlaneDialog::State{false, false, false, false}));
    dialog.setShowBorders(true);
    EXPECT_EQ(dialog.state(), (HidingPlaneDialog::State{false, true, false, false}));
    EXPECT_TRUE(window.calls.empty());  // a click on a box changes nothing until applied
}

TEST(HidingPlaneDialog, ApplyFollowsTheBoxesRedrawsStoresAndMarksTheJobChanged) {
    struct Case {
        bool initialised, activate, borders;
        std::vector<std::string> calls;
        bool blackPlane;
    };
    const Case cases[] = {
        {false, true, true, {"init on borders", "redraw", "store"}, true},  // first time: planes set up
        {true, true, false, {"redraw", "store"}, true},                     // the old slice, no new set-up
        {true, false, true, {"all visible", "redraw", "store"}, false},
    };
    for (const Case& c : cases) {
        RecordingWindow window;
        window.view.BlackInitial = c.initialised;
        window.view.BlackZ = 12;
        JobState job;
        HidingPlaneDialog dialog([&] { return &window; }, job);
        dialog.load();
        dialog.setActivate(c.activate);
        dialog.setShowBorders(c.borders);
        EXPECT_TRUE(dialog.apply());
        EXPECT_EQ(window.calls, c.calls);
        EXPECT_EQ(window.view.BlackPlane, c.blackPlane);
        EXPECT_EQ(window.view.BlackPlaneBorders, c.borders);
        EXPECT_EQ(window.view.BlackZ, 12);
        EXPECT_TRUE(job.JobDirty);
    }
}

TEST(HidingPlaneDialog, InitialiseActsAtOnceWithTheBoxes) {
    RecordingWindow window;
    JobState job;
    HidingPlaneDialog dialog([&] { return &window; }, job);
    dialog.load();
    dialog.setActivate(true);
    EXPECT_TRUE(dialog.initialise());
    EXPECT_EQ(window.calls, (std::vector<std::string>{"init on"}));
    EXPECT_FALSE(job.JobDirty);
}

TEST(HidingPlaneDialog, WithoutAGraphicsWindowNothingHappens) {
    JobState job;
    HidingPlaneDialog dialog([]() -> HidingPlaneWindow* { return nullptr; }, job);
    dialog.load();
    EXPECT_EQ(dialog.state(), HidingPlaneDialog::State{});
    dialog.setActivate(true);
    EXPECT_FALSE(dialog.initialise());
    EXPECT_FALSE(dialog.apply());
    EXPECT_FALSE(job.JobDirty);
}

TEST(HidingPlaneDialog, EachActionFindsTheDefaultWindowAnew) {
    RecordingWindow first, second;
    HidingPlaneWindow* current = &first;
    JobState job;
    HidingPlaneDialog dialog([&] { return current; }, job);
    dialog.load();
    dialog.setActivate(true);
    current = &second;
    EXPECT_TRUE(dialog.apply());
    EXPECT_TRUE(first.calls.empty());
    EXPECT_TRUE(second.view.BlackPlane);
}

}  // namespace
}  // namespace kal
