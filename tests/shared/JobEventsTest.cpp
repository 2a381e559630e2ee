#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "shared/JobEvents.h"

namespace kal {
namespace {

TEST(JobEvents, SubscribersRunInSlotOrderWhateverTheOrderTheySubscribedIn) {
    JobEvents events;
    std::vector<std::string> calls;
    const Subscription sheet =
        events.subscribe(JobEvent::ResultsChanged, Subscriber::MainSheet, [&] { calls.push_back("sheet"); });
    const Subscription window = events.subscribe(JobEvent::ResultsChanged, Subscriber::MainWindow,
                                                 [&] { calls.push_back("window"); });
    const Subscription display1 = events.subscribe(JobEvent::ResultsChanged, Subscriber::ResultDisplay,
                                                   [&] { calls.push_back("display1"); });
    const Subscription graphics = events.subscribe(JobEvent::ResultsChanged, Subscriber::Graphics,
                                                   [&] { calls.push_back("graphics"); });
    const Subscription display2 = events.subscribe(JobEvent::ResultsChanged, Subscriber::ResultDisplay,
                                                   [&] { calls.push_back("display2"); });
    const Subscription units = events.subscribe(JobEvent::UnitsChanged, Subscriber::ResultDisplay,
                                                [&] { calls.push_back("units"); });
    events.publish(JobEvent::ResultsChanged);
    EXPECT_EQ(calls, (std::vector<std::string>{"display1", "display2", "graphics", "sheet", "window"}));
}

TEST(JobEvents, ABatchDeliversEachEventOnceInTheFixedOrderWhenTheOutermostEnds) {
    JobEvents events;
    std::vector<JobEvent> heard;
    const Subscription all = events.subscribe(
        {JobEvent::JobReset, JobEvent::PointsReplaced, JobEvent::ResultsChanged, JobEvent::UnitsChanged},
        Subscriber::MainSheet, [&](JobEvent e) { heard.push_back(e); });
    {
        JobEvents::Batch outer(events);
        events.publish(JobEvent::ResultsChanged);
        {
            JobEvents::Batch inner(events);
            for (int run = 0; run < 100; ++run) events.publish(JobEvent::ResultsChanged);
            events.publish(JobEvent::UnitsChanged);
        }
        events.publish(JobEvent::JobReset);
        EXPECT_TRUE(heard.empty());  // the inner batch's end delivers nothing
        EXPECT_TRUE(events.batching());
    }
    EXPECT_EQ(heard,
              (std::vector<JobEvent>{JobEvent::JobReset, JobEvent::UnitsChanged, JobEvent::ResultsChanged}));
    EXPECT_FALSE(events.batching());
    heard.clear();
    events.publish(JobEvent::PointsReplaced);  // after the batch: at once
    EXPECT_EQ(heard, std::vector<JobEvent>{JobEvent::PointsReplaced});
}

TEST(JobEvents, ADiscardedBatchOrOneLeftByAnExceptionDeliversNothing) {
    JobEvents events;
    int heard = 0;
    const Subscription s = events.subscribe(JobEvent::ResultsChanged, Subscriber::Graphics, [&] { ++heard; });
    {
        JobEvents::Batch batch(events);
        events.publish(JobEvent::ResultsChanged);
        batch.discard();
    }
    EXPECT_EQ(heard, 0);
    EXPECT_THROW(
        {
            JobEvents::Batch batch(events);
            events.publish(JobEvent::ResultsChanged);
            throw std::runtime_error("the work failed");
        },
        std::runtime_error);
    EXPECT_EQ(heard, 0);
    EXPECT_FALSE(events.batching());
    events.publish(JobEvent::ResultsChanged);
    EXPECT_EQ(heard, 1);
}

TEST(JobEvents, ADroppedTokenIsNeverCalledAgainEvenMidDelivery) {
    JobEvents events;
    std::vector<std::string> calls;
    Subscription later;
    Subscription first = events.subscribe(JobEvent::ResultsChanged, Subscriber::ResultDisplay, [&] {
        calls.push_back("first");
        later.reset();  // a window that closes while the others are told
    });
    later =
        events.subscribe(JobEvent::ResultsChanged, Subscriber::MainSheet, [&] { calls.push_back("later"); });
    events.publish(JobEvent::ResultsChanged);
    EXPECT_EQ(calls, std::vector<std::string>{"first"});
    EXPECT_FALSE(later.active());

    Subscription moved = std::move(first);
    { const Subscription gone = std::move(moved); }
    events.publish(JobEvent::ResultsChanged);
    EXPECT_EQ(calls.size(), 1u);

    // A token that outlives its hub is harmless.
    Subscription orphan;
    {
        JobEvents shortLived;
        orphan = shortLived.subscribe(JobEvent::JobReset, Subscriber::Other, [] {});
        EXPECT_TRUE(orphan.active());
    }
    EXPECT_FALSE(orphan.active());
    orphan.reset();
}

TEST(JobEvents, AnEmitInsideAHandlerIsQueuedUntilEverySubscriberHeardTheCurrentOne) {
    JobEvents events;
    std::vector<std::string> calls;
    const Subscription units = events.subscribe(JobEvent::UnitsChanged, Subscriber::ResultDisplay, [&] {
        calls.push_back("display units");
        events.publish(JobEvent::ResultsChanged);  // reformatted results
        events.publish(JobEvent::ResultsChanged);  // queued once
    });
    const Subscription sheetUnits = events.subscribe(JobEvent::UnitsChanged, Subscriber::MainSheet,
                                                     [&] { calls.push_back("sheet units"); });
    const Subscription results = events.subscribe(JobEvent::ResultsChanged, Subscriber::MainSheet,
                                                  [&] { calls.push_back("sheet results"); });
    events.publish(JobEvent::UnitsChanged);
    EXPECT_EQ(calls, (std::vector<std::string>{"display units", "sheet units", "sheet results"}));
}

TEST(JobEvents, HandlersThatKeepEmittingAreStoppedAndTheHubStaysUsable) {
    JobEvents events;
    int pings = 0;
    const Subscription ping = events.subscribe(JobEvent::PointsReplaced, Subscriber::Graphics, [&] {
        ++pings;
        events.publish(JobEvent::UseFlagsChanged);
    });
    const Subscription pong = events.subscribe(JobEvent::UseFlagsChanged, Subscriber::Graphics,
                                               [&] { events.publish(JobEvent::PointsReplaced); });
    EXPECT_THROW(events.publish(JobEvent::PointsReplaced), std::logic_error);
    EXPECT_EQ(pings, JobEvents::kMaxDeliveriesPerRound / 2);
    int reset = 0;
    const Subscription other = events.subscribe(JobEvent::JobReset, Subscriber::Other, [&] { ++reset; });
    events.publish(JobEvent::JobReset);
    EXPECT_EQ(reset, 1);
}

TEST(JobEvents, AnExceptionFromAHandlerReachesTheEmitterAndDropsTheQueue) {
    JobEvents events;
    int sheet = 0;
    const Subscription thrower = events.subscribe(JobEvent::ResultsChanged, Subscriber::ResultDisplay, [&] {
        events.publish(JobEvent::UnitsChanged);
        throw std::runtime_error("cannot show");
    });
    const Subscription units =
        events.subscribe(JobEvent::UnitsChanged, Subscriber::MainSheet, [&] { ++sheet; });
    EXPECT_THROW(events.publish(JobEvent::ResultsChanged), std::runtime_error);
    EXPECT_EQ(sheet, 0);
    events.publish(JobEvent::UnitsChanged);
    EXPECT_EQ(sheet, 1);
}

}  // namespace
}  // namespace kal
