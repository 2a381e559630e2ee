#include <gtest/gtest.h>

#include "input/EttaPrompt.h"
#include "platform/Regional.h"
#include "support/FakePlatform.h"

namespace kal {
namespace {

TEST(EttaPrompt, AsksUntilANumberOtherThanZero) {
    platform::ScopedDecimalSeparator comma(',');
    testing::FakePrompter prompter;
    for (const char* answer : {"abc", "0", "0.5", "1e60", " 0,25 "}) prompter.answerInput(answer);
    EXPECT_EQ(askEtta(prompter, MatchingMethod::ByCoordinates), 0.25f);
    ASSERT_EQ(prompter.shown().size(), 5u);  // a text, 0, a "." under ",", too large: asked again
    for (const auto& box : prompter.shown()) {
        EXPECT_EQ(box.title, "Etta Value");
        EXPECT_EQ(box.defaultText, "0,8");
    }
}

TEST(EttaPrompt, EmptyAnswerOrCancelEndsTheLoad) {
    testing::FakePrompter prompter;
    prompter.answerInput("");
    prompter.answerInput(std::nullopt);
    EXPECT_EQ(askEtta(prompter, MatchingMethod::ByDistances), std::nullopt);
    EXPECT_EQ(askEtta(prompter, MatchingMethod::ByDistances), std::nullopt);
}

TEST(EttaPrompt, TakesNegativeValuesAndShowsTheRoadsText) {
    platform::ScopedDecimalSeparator point('.');
    testing::FakePrompter prompter;
    prompter.answerInput("-0.8");
    EXPECT_EQ(askEtta(prompter, MatchingMethod::ByDistances), -0.8f);
    const std::string& text = prompter.shown().at(0).text;
    EXPECT_EQ(text.rfind("The process of AutoFinding the indentically points might take a while\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\n\r\n\r\nThe accuracy of your Coordinates beetween"), std::string::npos);
    EXPECT_TRUE(text.ends_with("but they are not.\r\n\r\n"));
    EXPECT_EQ(prompter.shown().at(0).defaultText, "0.8");

    const std::string coordinates = ettaPromptText(MatchingMethod::ByCoordinates);
    EXPECT_EQ(
        coordinates.rfind("Identify by coordinate comparison works by comparison\r\nof the coordinates", 0),
        0u);
    EXPECT_NE(coordinates.find("to each other.\r\n\r\n\r\nThe accuracy"), std::string::npos);
}

}  // namespace
}  // namespace kal
