#include <gtest/gtest.h>

#include "shell/CalculationWindowSwitch.h"
#include "support/FakePlatform.h"

namespace kal {
namespace {

TEST(CalculationWindowSwitch, IdenticalPointCountDecidesWhetherTheWindowOpens) {
    struct Case {
        std::int32_t identical;
        std::vector<std::string> messages;
        bool opens;
    };
    const Case cases[] = {
        {0, {kLessThanTwoPointsMessage}, false},
        {1, {kLessThanTwoPointsMessage}, false},
        {2, {kLessThanThreePointsMessage}, true},
        {3, {}, true},
        {500, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.identical);
        testing::FakePrompter prompter;
        bool open = false;
        int opened = 0;
        const CalculationWindowHooks hooks{[&] { return open; }, [&] { open = true, ++opened; },
                                           [&] { open = false; }};
        EXPECT_EQ(switchCalculationWindow(c.identical, prompter, hooks), c.opens);
        EXPECT_EQ(prompter.texts(), c.messages);
        EXPECT_EQ(opened, c.opens ? 1 : 0);
    }
}

TEST(CalculationWindowSwitch, SecondChoiceClosesTheWindow) {
    testing::FakePrompter prompter;
    bool open = true;
    int closed = 0;
    const CalculationWindowHooks hooks{[&] { return open; }, [&] { open = true; },
                                       [&] { open = false, ++closed; }};
    EXPECT_FALSE(switchCalculationWindow(6, prompter, hooks));
    EXPECT_EQ(closed, 1);
    // Too few points: the box, and an open window stays open.
    open = true;
    EXPECT_TRUE(switchCalculationWindow(1, prompter, hooks));
    EXPECT_EQ(closed, 1);
}

}  // namespace
}  // namespace kal
