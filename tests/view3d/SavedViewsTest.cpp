// The job's saved views: naming (replacing a name after a question, letter case counting),
// deleting, the limit of fifty, and a saved view that comes back byte for byte after the job is
// saved and opened again.
#include <gtest/gtest.h>

#include "jobfile/JobFileItems.h"
#include "jobfile/JobFileReader.h"
#include "jobfile/JobFileWriter.h"
#include "support/FakePlatform.h"
#include "support/SampleJobs.h"
#include "view3d/SavedViews.h"

namespace kal {
namespace {

using platform::Answer;

ScreenProperties view(int k) {
    ScreenProperties v = testing::makeView(k);
    v.BigNess = static_cast<std::int16_t>(k);
    return v;
}

struct Views {
    JobState job;
    UndoRing ring;
    testing::FakePrompter prompter;

    // Stores view k in the window's ring and saves it under `name` through the naming rules,
    // as the dialog's "&OK" would; the outcome of the save and whether the dialog closed.
    SaveViewOutcome save(int k, const std::string& name, bool* closed = nullptr) {
        ring.store(view(k), {1000, 800}, job.DefaultScreenProperties);
        return saveView(job, ring, prompter, [&] {
            SaveViewNaming naming(job, prompter);
            const bool close = naming.confirm(name) == SaveViewNaming::Ok::Close;
            if (closed) *closed = close;
            return naming.NewViewName();
        });
    }
    std::vector<int> sizes() const {
        std::vector<int> out;
        for (int i = 1; i <= job.ViewCount; ++i) out.push_back(job.SavedViews[i].BigNess);
        return out;
    }
};

TEST(SavedViews, SavingAnExistingNameWithYesMovesItToTheEndWithTheNewerView) {
    Views v;
    EXPECT_EQ(v.save(1, "A"), SaveViewOutcome::Saved);
    EXPECT_EQ(v.save(2, "B"), SaveViewOutcome::Saved);
    v.prompter.answer(Answer::Yes);
    EXPECT_EQ(v.save(3, "A"), SaveViewOutcome::Saved);
    EXPECT_EQ(v.job.SavedViewNames, (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(v.job.ViewCount, 2);
    EXPECT_EQ(v.sizes(), (std::vector<int>{2, 3}));
    ASSERT_EQ(v.prompter.shown().size(), 1u);
    EXPECT_EQ(v.prompter.shown()[0].text, "A is already in use for a view, will you replace the old one?");
    EXPECT_EQ(v.prompter.shown()[0].title, "Name in use");
    EXPECT_EQ(v.prompter.shown()[0].buttons, platform::Buttons::YesNo);
    EXPECT_TRUE(v.job.JobDirty);
}

TEST(SavedViews, AnsweringNoKeepsTheDialogOpenAndChangesNothing) {
    Views v;
    v.save(1, "A");
    v.prompter.answer(Answer::No);
    bool closed = true;
    EXPECT_EQ(v.save(2, "A", &closed), SaveViewOutcome::NotNamed);
    EXPECT_FALSE(closed);
    EXPECT_EQ(v.job.SavedViewNames, (std::vector<std::string>{"A"}));
    EXPECT_EQ(v.sizes(), (std::vector<int>{1}));
}

TEST(SavedViews, NamesDifferingInLetterCaseAreTwoViews) {
    Views v;
    v.save(1, "A");
    EXPECT_EQ(v.save(2, "a"), SaveViewOutcome::Saved);
    EXPECT_TRUE(v.prompter.shown().empty());
    EXPECT_EQ(v.job.SavedViewNames, (std::vector<std::string>{"A", "a"}));
    EXPECT_EQ(v.job.ViewCount, 2);
}

// A list holding one name twice (a job file made elsewhere): each is offered in turn, also the
// one that moved into the place of a deleted one.
TEST(SavedViews, ReplacingChecksTheNameThatMovedIntoADeletedPlace) {
    Views v;
    v.job.SavedViewNames = {"A", "A", "C"};
    v.job.ViewCount = 3;
    for (int i = 1; i <= 3; ++i) v.job.SavedViews[i] = view(10 + i);
    v.prompter.answer(Answer::Yes);
    v.prompter.answer(Answer::Yes);
    EXPECT_EQ(v.save(4, "A"), SaveViewOutcome::Saved);
    EXPECT_EQ(v.job.SavedViewNames, (std::vector<std::string>{"C", "A"}));
    EXPECT_EQ(v.sizes(), (std::vector<int>{13, 4}));
    EXPECT_TRUE(v.prompter.exhausted());
}

TEST(SavedViews, CancelOrAnEmptyNameSavesNothingButMarksTheJob) {
    Views v;
    v.ring.store(view(1), {}, v.job.DefaultScreenProperties);
    EXPECT_EQ(saveView(v.job, v.ring, v.prompter, [] { return std::string(); }), SaveViewOutcome::NotNamed);
    EXPECT_EQ(v.job.ViewCount, 0);
    EXPECT_TRUE(v.job.JobDirty);
    SaveViewNaming naming(v.job, v.prompter);
    EXPECT_EQ(naming.confirm(""), SaveViewNaming::Ok::Close);
    EXPECT_EQ(naming.NewViewName(), "");
}

TEST(SavedViews, FiftyViewsRefuseTheFiftyFirst) {
    Views v;
    for (int k = 1; k <= 50; ++k) ASSERT_EQ(v.save(k, "v" + std::to_string(k)), SaveViewOutcome::Saved);
    v.job.JobDirty = false;
    bool asked = false;
    v.ring.store(view(51), {}, v.job.DefaultScreenProperties);
    EXPECT_EQ(saveView(v.job, v.ring, v.prompter,
                       [&] {
                           asked = true;
                           return std::string("x");
                       }),
              SaveViewOutcome::ListFull);
    EXPECT_FALSE(asked);
    EXPECT_EQ(v.prompter.texts().back(), "max. 50 Views to save, you must delete a view to save a new one");
    EXPECT_EQ(v.job.ViewCount, 50);
    EXPECT_TRUE(v.job.JobDirty);
}

TEST(SavedViews, AWindowWithoutAStoredViewSavesNothing) {
    Views v;
    bool asked = false;
    EXPECT_EQ(saveView(v.job, v.ring, v.prompter,
                       [&] {
                           asked = true;
                           return std::string("x");
                       }),
              SaveViewOutcome::NoView);
    EXPECT_FALSE(asked);
    EXPECT_EQ(v.job.ViewCount, 0);
    EXPECT_EQ(v.prompter.texts().back(), kNoViewToSaveMessage);
}

TEST(SavedViews, DeleteMovesTheLaterViewsUp) {
    const struct {
        std::int32_t which;
        std::vector<std::string> names;
        std::vector<int> sizes;
    } cases[] = {
        {2, {"a", "c"}, {1, 3}},          {1, {"b", "c"}, {2, 3}},
        {3, {"a", "b"}, {1, 2}},          {0, {"a", "b", "c"}, {1, 2, 3}},  // nothing chosen
        {4, {"a", "b", "c"}, {1, 2, 3}},                                    // beyond the list
        {-1, {"a", "b", "c"}, {1, 2, 3}},
    };
    for (const auto& c : cases) {
        Views v;
        v.save(1, "a");
        v.save(2, "b");
        v.save(3, "c");
        v.job.JobDirty = false;
        EXPECT_EQ(deleteSavedView(v.job, c.which), c.names.size() == 2) << c.which;
        EXPECT_EQ(v.job.SavedViewNames, c.names) << c.which;
        EXPECT_EQ(v.sizes(), c.sizes) << c.which;
        EXPECT_TRUE(v.job.JobDirty) << c.which;
    }
}

// Save → Open → Save: a job whose saved views carry flags and lines reads back into the same
// views and writes the same bytes.
TEST(SavedViews, SavedViewSurvivesSaveAndOpenByteForByte) {
    Views v;
    v.job = testing::makePointJob(12, 2, 1);
    ScreenProperties shown = testing::makeView(3, 4);
    shown.FlagOfPoint.clear();
    shown.FlagOfPoint.resize(27);
    shown.FlagOfPoint.set(5, 1);
    shown.FlagOfPoint.set(26, 2);
    v.ring.store(shown, {10005.5, 7200}, v.job.DefaultScreenProperties);
    ASSERT_EQ(saveView(v.job, v.ring, v.prompter, [] { return std::string("Front detail"); }),
              SaveViewOutcome::Saved);
    v.ring.store(testing::makeView(4), {9000, 6000}, v.job.DefaultScreenProperties);
    ASSERT_EQ(saveView(v.job, v.ring, v.prompter, [] { return std::string("Übersicht"); }),
              SaveViewOutcome::Saved);

    JobFileWriteNotes notes;
    const std::string bytes = writeJobFile(v.job, notes);
    JobState reopened;
    adoptJobFileItems(reopened, std::move(readJobFile(bytes, probeJobFileHeader(bytes)).job));
    EXPECT_EQ(reopened.ViewCount, 2);
    EXPECT_EQ(reopened.SavedViewNames, v.job.SavedViewNames);
    EXPECT_EQ(reopened.SavedViews[1], v.job.SavedViews[1]);
    EXPECT_EQ(reopened.SavedViews[1].WindowWidth, 10006);
    EXPECT_EQ(reopened.SavedViews[2], v.job.SavedViews[2]);
    JobFileWriteNotes again;
    EXPECT_EQ(writeJobFile(reopened, again), bytes);

    // Shown in a window, both give the same view.
    ScreenProperties before, after;
    restoreViewFromSavedView(v.job.SavedViews[1], before, 27);
    restoreViewFromSavedView(reopened.SavedViews[1], after, 27);
    EXPECT_EQ(before, after);
    EXPECT_EQ(after.FlagOfPoint[26], 2);
    EXPECT_EQ(after.LineCount, 4);
}

}  // namespace
}  // namespace kal
