#include <gtest/gtest.h>

#include <thread>

#include "platform/EventPump.h"
#include "support/FakePlatform.h"

namespace kal {
namespace {

TEST(ThrottledPump, LetsEventsThroughAtMostOncePerInterval) {
    testing::FakeEventPump pump;
    // Long enough that the tight loop ends inside it on a loaded machine under the sanitizers.
    platform::ThrottledPump throttled(&pump, std::chrono::milliseconds(400));
    for (int i = 0; i < 10000; ++i) throttled.poll();
    EXPECT_EQ(pump.calls(), 0);  // a tight loop within the first interval lets nothing through
    std::this_thread::sleep_for(std::chrono::milliseconds(450));
    EXPECT_TRUE(throttled.poll());
    EXPECT_FALSE(throttled.poll());
    throttled.flush();
    EXPECT_EQ(pump.calls(), 2);
}

TEST(FakePrompter, RecordsBoxesAndAnswersFromTheScript) {
    testing::FakePrompter p;
    p.answer(platform::Answer::Yes);
    p.answerCustom(2);
    EXPECT_EQ(p.message("Save?", platform::Buttons::YesNo), platform::Answer::Yes);
    EXPECT_EQ(p.message("Done"), platform::Answer::Ok);
    EXPECT_EQ(p.custom("Overwrite?", "Batch", {"Yes", "No", "Cancel Batch"}), 2);
    EXPECT_TRUE(p.exhausted());
    EXPECT_EQ(p.texts(), (std::vector<std::string>{"Save?", "Done", "Overwrite?"}));
}

}  // namespace
}  // namespace kal
