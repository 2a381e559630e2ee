#include <gtest/gtest.h>

#include "shell/EditCommands.h"
#include "support/FakePlatform.h"

namespace kal {
namespace {

TEST(EditCommands, CopyClearsThenPutsThePreparedTextEvenWhenEmpty) {
    for (const std::string text : {"P1\t1.000\t\r\nP2\t2.000\t\r\n", ""}) {
        SCOPED_TRACE(text);
        JobState job;
        job.ClipboardText = text;
        testing::FakeClipboard clipboard;
        clipboard.setText("what the user copied before");
        copyPreparedText(job, clipboard);
        EXPECT_EQ(clipboard.text(), text);
        EXPECT_EQ(clipboard.writes(), 3);  // the test's text, the clear, the prepared text
    }
}

// Only an empty set is refused: the chart takes an empty selection, the distance analysis a
// single point.
TEST(EditCommands, PointChecksRefuseOnlyAnEmptySet) {
    struct Case {
        bool (*check)(std::int32_t, platform::Prompter&);
        std::int32_t identical;
        std::vector<std::string> messages;
        bool allowed;
    };
    const Case cases[] = {
        {mayGraphSelection, 0, {kNoPointsToGraphMessage}, false},
        {mayGraphSelection, 1, {}, true},
        {mayAnalyseDistances, 0, {kNoPointsForDistanceScaleMessage}, false},
        {mayAnalyseDistances, 1, {}, true},
        {mayAnalyseDistances, 40, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identical);
        testing::FakePrompter prompter;
        EXPECT_EQ(c.check(c.identical, prompter), c.allowed);
        EXPECT_EQ(prompter.texts(), c.messages);
    }
    EXPECT_STREQ(kNoPointsForDistanceScaleMessage,
                 "There are not enough identically Points for a calculation");
}

TEST(EditCommands, GraphDataWithNoRowChosenSaysHowToChooseRows) {
    testing::FakePrompter prompter;
    EXPECT_FALSE(hasRowsToGraph(0, prompter));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{kNoRowsToGraphMessage});
    testing::FakePrompter quiet;
    EXPECT_TRUE(hasRowsToGraph(1, quiet));
    EXPECT_TRUE(quiet.texts().empty());
}

}  // namespace
}  // namespace kal
