#include <gtest/gtest.h>

#include "shell/MessageBoxCustom.h"
#include "support/FakePlatform.h"

namespace kal {
namespace {

TEST(ShowCustomMessageBox, ButtonsFollowTheCaptionsGiven) {
    using V = std::vector<std::string>;
    EXPECT_EQ(customButtonCaptions("overwrite", "overwrite all ", "Cancel Batch"),
              (V{"overwrite", "overwrite all ", "Cancel Batch"}));
    EXPECT_EQ(customButtonCaptions("a", "b", ""), (V{"a", "b"}));
    EXPECT_EQ(customButtonCaptions("a", "", "c"), (V{"a", "", "c"}));  // an empty middle button
    EXPECT_EQ(customButtonCaptions("a", "", ""), (V{"a"}));
}

TEST(ShowCustomMessageBox, ReturnsThePositionOfThePressedButton) {
    for (int pressed : {1, 2, 3}) {
        testing::FakePrompter prompter;
        prompter.answerCustom(pressed);
        EXPECT_EQ(showCustomMessageBox(prompter, "exists", "File does exist", "overwrite", "overwrite all ",
                                       "Cancel Batch"),
                  pressed);
        ASSERT_EQ(prompter.shown().size(), 1u);
        EXPECT_EQ(prompter.shown()[0].title, "File does exist");
    }
}

TEST(ShowCustomMessageBox, AnAnswerOutsideTheButtonsCountsAsTheLast) {
    testing::FakePrompter prompter;
    prompter.answerCustom(3);
    EXPECT_EQ(showCustomMessageBox(prompter, "t", "", "yes", "no", ""), 2);
}

}  // namespace
}  // namespace kal
