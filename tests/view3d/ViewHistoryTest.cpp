// The window-side order of a ring step and of showing a saved view: what is copied, which
// hooks run in which order, and that a saved view becomes a ring step.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/SampleJobs.h"
#include "view3d/SavedViews.h"
#include "view3d/ViewHistory.h"

namespace kal {
namespace {

struct Recorder {
    std::vector<std::string> calls;
    std::vector<UndoControls> controls;
    WindowSizeTwips size{1000, 800};

    ViewHistoryHooks hooks() {
        ViewHistoryHooks h;
        h.outerSize = [this] { return size; };
        h.removeFlags = [this] { calls.push_back("removeFlags"); };
        h.fillColourBarDialog = [this](bool onlyShown) {
            calls.push_back(onlyShown ? "fillColourBarIfShown" : "fillColourBar");
        };
        h.applyColourSettings = [this] { calls.push_back("applyColours"); };
        h.rebuildFlags = [this](FlagSource s, std::int32_t i) {
            calls.push_back(std::string(s == FlagSource::UndoRing ? "flagsFromRing " : "flagsFromSaved ") +
                            std::to_string(i));
        };
        h.resizeWindow = [this](WindowSizeTwips s) {
            size = s;
            calls.push_back("resize " + std::to_string(static_cast<int>(s.width)) + "x" +
                            std::to_string(static_cast<int>(s.height)));
        };
        h.redraw = [this] { calls.push_back("redraw"); };
        h.refreshMainWindow = [this] { calls.push_back("refreshMain"); };
        h.showControls = [this](const UndoControls& c) { controls.push_back(c); };
        return h;
    }
};

ScreenProperties view(int k) {
    ScreenProperties v = testing::makeView(1);
    v.BigNess = static_cast<std::int16_t>(k);
    return v;
}

TEST(ViewHistory, StepBackRestoresTheSlotInTheWindowsOrder) {
    JobState job;
    UndoRing ring;
    ScreenProperties window = view(1);
    Recorder rec;
    storeView(ring, window, job, rec.hooks());
    window = view(2);
    storeView(ring, window, job, rec.hooks());
    ASSERT_EQ(rec.controls.size(), 2u);
    EXPECT_EQ(rec.controls.back().lastTooltip, "Last View 1");
    EXPECT_EQ(job.DefaultScreenProperties.BigNess, 2);
    EXPECT_EQ(job.DefaultScreenProperties.WindowWidth, 1000);

    rec.calls.clear();
    ASSERT_TRUE(showPreviousView(ring, window, rec.hooks()));
    EXPECT_EQ(window.BigNess, 1);
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"removeFlags", "fillColourBarIfShown", "applyColours",
                                                   "flagsFromRing 1", "redraw", "refreshMain"}));
    EXPECT_EQ(rec.controls.back(), (UndoControls{false, true, "Last View 0", "Next View -1"}));
    // The default record is what was stored last, not what a step shows.
    EXPECT_EQ(job.DefaultScreenProperties.BigNess, 2);

    rec.calls.clear();
    EXPECT_FALSE(showPreviousView(ring, window, rec.hooks()));
    EXPECT_TRUE(rec.calls.empty());
    ASSERT_TRUE(showNextView(ring, window, rec.hooks()));
    EXPECT_EQ(window.BigNess, 2);
    EXPECT_EQ(rec.controls.back(), (UndoControls{true, false, "Last View 1", "Next View 0"}));
}

TEST(ViewHistory, SavedViewResizesTheWindowAndBecomesARingStep) {
    JobState job;
    job.SavedViews[1] = view(5);
    job.SavedViews[1].WindowWidth = 9000;
    job.SavedViews[1].WindowHeight = 7000;
    job.SavedViewNames = {"A"};
    job.ViewCount = 1;
    UndoRing ring;
    ScreenProperties window = view(1);
    window.CurrentFahne = 0;
    Recorder rec;
    storeView(ring, window, job, rec.hooks());
    rec.calls.clear();

    ASSERT_TRUE(showSavedView(job, 1, ring, window, 20, rec.hooks()));
    EXPECT_EQ(window.BigNess, 5);
    EXPECT_EQ(window.CurrentFahne, 0);  // not taken from a saved view
    EXPECT_EQ(rec.calls,
              (std::vector<std::string>{"removeFlags", "resize 9000x7000", "fillColourBar", "applyColours",
                                        "flagsFromSaved 1", "redraw", "refreshMain"}));
    EXPECT_EQ(ring.UndoIndex(), 2);
    EXPECT_EQ(ring.current().WindowWidth, 9000);  // stored at the window's new size
    EXPECT_EQ(job.DefaultScreenProperties.BigNess, 5);
    // "&last View" goes back to the view shown before.
    ASSERT_TRUE(showPreviousView(ring, window, rec.hooks()));
    EXPECT_EQ(window.BigNess, 1);
}

// A view saved on one job and restored after other points were loaded: its lines and flags are
// stored by cloud row, and a row that now holds another point would put them on the wrong point.
TEST(ViewHistory, SavedViewOnOtherPointsDropsTheMarksOfMovedRowsAndSaysHowMany) {
    JobState job = testing::makePointJob(4);  // cloud rows 1..4 and 5..8 both named P1..P4
    ScreenProperties saved = testing::makeView(1, 3);
    saved.Lines(1, 1) = 1, saved.Lines(2, 1) = 2;  // P1 - P2
    saved.Lines(1, 2) = 3, saved.Lines(2, 2) = 4;  // P3 - P4
    saved.Lines(1, 3) = 5, saved.Lines(2, 3) = 6;  // P1 - P2, the other side
    saved.LineCount = 3;
    saved.LineStartPoint = 6;
    saved.FlagOfPoint.clear();
    saved.FlagOfPoint.resize(8);
    saved.FlagOfPoint.set(2, 1);  // on P2
    saved.FlagOfPoint.set(7, 2);  // on P3
    recordMarkedRowNames(saved, job);
    job.SavedViews[1] = saved;
    job.SavedViewNames = {"A"};
    job.ViewCount = 1;

    struct Case {
        const char* label;
        const char* renamed;  // point 2 after the reload
        std::int32_t lines, lineStart;
        std::vector<std::int32_t> flaggedRows;
        std::vector<std::string> told;
    };
    const Case cases[] = {
        {"the same points: all kept", "P2", 3, 6, {2, 7}, {}},
        {"point 2 is another point now",
         "Q2",
         1,
         0,
         {7},
         {"This view was saved on other points: 2 lines and 1 flag stood on points that are no longer in "
          "their places and were dropped."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        JobState now = job;
        now.OCS_Name[2] = c.renamed;
        UndoRing ring;
        ScreenProperties window = view(1);
        Recorder rec;
        std::vector<std::string> told;
        ViewHistoryHooks hooks = rec.hooks();
        hooks.tell = [&](const std::string& text) { told.push_back(text); };
        ASSERT_TRUE(showSavedView(now, 1, ring, window, 8, hooks));
        EXPECT_EQ(window.LineCount, c.lines);
        EXPECT_EQ(window.LineStartPoint, c.lineStart);
        std::vector<std::int32_t> flagged;
        for (const auto& [row, flag] : window.FlagOfPoint.flaggedRows()) flagged.push_back(row);
        EXPECT_EQ(flagged, c.flaggedRows);
        if (c.lines == 1) {
            EXPECT_EQ(window.Lines(1, 1), 3);
            EXPECT_EQ(window.Lines(2, 1), 4);
        }
        EXPECT_EQ(told, c.told);
        EXPECT_EQ(now.SavedViews[1].LineCount, 3);  // the saved view itself stays as saved
    }
}

// A point with only an MCS side is named by its own (transformed) MCS name in the cloud: its
// lines and flags go or stay by that name, never by the name of an OCS point of the same index.
TEST(ViewHistory, MarksOnPointsWithOnlyAnMcsSideGoOrStayByThatPointsOwnName) {
    // Rows 1-2 and 3-4 are both sides of P1, P2; 5-6 the MCS-only M3, M4; 7 the OCS-only O3.
    JobState job = testing::makePointJob(2, 2, 1);
    ScreenProperties saved = testing::makeView(1, 2);
    saved.Lines(1, 1) = 5, saved.Lines(2, 1) = 7;  // M3 - O3
    saved.Lines(1, 2) = 1, saved.Lines(2, 2) = 6;  // P1 - M4
    saved.LineCount = 2;
    saved.LineStartPoint = 0;
    saved.FlagOfPoint.clear();
    saved.FlagOfPoint.resize(7);
    saved.FlagOfPoint.set(5, 1);  // on M3
    saved.FlagOfPoint.set(6, 2);  // on M4
    recordMarkedRowNames(saved, job);
    job.SavedViews[1] = saved;
    job.SavedViewNames = {"A"};
    job.ViewCount = 1;

    struct Case {
        const char* label;
        std::function<void(JobState&)> reload;
        std::int32_t lines;
        std::vector<std::int32_t> flaggedRows;
    };
    const Case cases[] = {
        {"the same points", [](JobState&) {}, 2, {5, 6}},
        {"M4 is another point now", [](JobState& j) { j.MCS_Name[4] = j.MCSt_Name[4] = "M9"; }, 1, {5}},
        {"the OCS-only point changed, the MCS-only points did not",
         [](JobState& j) { j.OCS_Name[3] = "O9"; },
         1,
         {5, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        JobState now = job;
        c.reload(now);
        UndoRing ring;
        ScreenProperties window = view(1);
        Recorder rec;
        ViewHistoryHooks hooks = rec.hooks();
        std::vector<std::string> told;
        hooks.tell = [&](const std::string& text) { told.push_back(text); };
        ASSERT_TRUE(showSavedView(now, 1, ring, window, 7, hooks));
        EXPECT_EQ(window.LineCount, c.lines);
        std::vector<std::int32_t> flagged;
        for (const auto& [row, flag] : window.FlagOfPoint.flaggedRows()) flagged.push_back(row);
        EXPECT_EQ(flagged, c.flaggedRows);
        EXPECT_EQ(told.size(), c.lines == 2 && c.flaggedRows.size() == 2 ? 0u : 1u);
    }
}

TEST(ViewHistory, SavedViewNumberOutsideTheListChangesNothing) {
    JobState job;
    job.SavedViewNames = {"A"};
    job.ViewCount = 1;
    job.SavedViews[2] = view(9);  // left behind by a deletion: never read
    UndoRing ring;
    ScreenProperties window = view(1);
    Recorder rec;
    for (std::int32_t n : {0, -1, 2, 51}) {
        EXPECT_FALSE(showSavedView(job, n, ring, window, 20, rec.hooks())) << n;
    }
    EXPECT_TRUE(rec.calls.empty());
    EXPECT_EQ(window.BigNess, 1);
    EXPECT_FALSE(ring.hasView());
}

}  // namespace
}  // namespace kal
