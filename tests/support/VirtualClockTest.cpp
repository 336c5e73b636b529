#include "support/VirtualClock.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace m7410;

namespace {

struct Recorder {
    VirtualClock& clock;
    std::vector<std::string> events;
    void note(const std::string& what) {
        events.push_back(what + "@" + std::to_string(clock.nowMs()));
    }
};

using Events = std::vector<std::string>;

} // namespace

TEST(VirtualClock, FiresDueTimersInTimeOrderAtTheirExactTimes) {
    VirtualClock clock;
    Recorder r{clock, {}};
    auto tick = clock.createTimer(10, [&] { r.note("tick"); });
    auto once = clock.createTimer(
        25, [&] { r.note("once"); }, true);
    auto sameTime = clock.createTimer(
        20, [&] { r.note("same"); }, true);
    EXPECT_FALSE(tick->isActive()) << "timers are created stopped";
    tick->start();
    once->start();
    sameTime->start();

    clock.advance(35);
    // At 20 the single shot was armed (at 0) before the tick re-armed itself (at 10).
    EXPECT_EQ(r.events, (Events{"tick@10", "same@20", "tick@20", "once@25", "tick@30"}));
    EXPECT_EQ(clock.nowMs(), 35);
    EXPECT_FALSE(once->isActive());
    EXPECT_TRUE(tick->isActive());
    EXPECT_EQ(clock.activeTimerCount(), 1);
    EXPECT_EQ(clock.nextDueMs(), 40);
}

TEST(VirtualClock, StartingARunningTimerKeepsItsPhaseButStopStartBeginsAFullInterval) {
    VirtualClock clock;
    Recorder r{clock, {}};
    auto poll = clock.createTimer(500, [&] { r.note("poll"); });
    poll->start();
    clock.advance(300);
    poll->start(); // already running: the tick stays at 500
    clock.advance(200);
    EXPECT_EQ(r.events, (Events{"poll@500"}));

    clock.advance(100);
    poll->stop();
    poll->start(); // full interval from 600
    clock.advance(999);
    EXPECT_EQ(r.events, (Events{"poll@500", "poll@1100"}));

    // The same interval changes nothing; a new one restarts from now.
    poll->setInterval(500);
    clock.advanceTo(1600);
    EXPECT_EQ(r.events.back(), "poll@1600");
    clock.advanceTo(1650);
    poll->setInterval(100);
    clock.advanceTo(1750);
    EXPECT_EQ(r.events.back(), "poll@1750");
    EXPECT_EQ(poll->interval(), 100);
}

TEST(VirtualClock, NestedPumpWaitInsideAHandlerAdvancesTimeAndFiresOthersButNotItself) {
    VirtualClock clock;
    Recorder r{clock, {}};
    std::unique_ptr<Timer> other;
    auto pausing = clock.createTimer(100, [&] {
        r.note("pause-begin");
        clock.PumpWait(250);
        r.note("pause-end");
    });
    other = clock.createTimer(60, [&] { r.note("other"); });
    pausing->start();
    other->start();

    clock.advanceTo(100);
    // The pause carried time to 350; the pausing timer's own ticks at 200 and 300 fell inside
    // its handler and are skipped, not replayed in a burst afterwards.
    EXPECT_EQ(clock.nowMs(), 350);
    EXPECT_EQ(r.events, (Events{"other@60", "pause-begin@100", "other@120", "other@180",
                                "other@240", "other@300", "pause-end@350"}));
    EXPECT_EQ(clock.pumpedMs(), 250);

    r.events.clear();
    pausing->stop();
    clock.advanceTo(420);
    EXPECT_EQ(r.events, (Events{"other@360", "other@420"}));
}

TEST(VirtualClock, AHandlerMayStopRestartOrDestroyItsOwnTimer) {
    VirtualClock clock;
    Recorder r{clock, {}};
    std::unique_ptr<Timer> chain;
    int fired = 0;
    chain = clock.createTimer(
        10,
        [&] {
            ++fired;
            r.note("chain");
            if (fired == 1) {
                chain->setInterval(30);
                chain->start(); // single shot restarted from its own handler
            } else {
                chain.reset();
            }
        },
        true);
    chain->start();
    clock.advance(100);
    EXPECT_EQ(r.events, (Events{"chain@10", "chain@40"}));
    EXPECT_EQ(chain, nullptr);
    EXPECT_EQ(clock.activeTimerCount(), 0);
}

TEST(VirtualClock, ZeroIntervalsAndAdvanceUntil) {
    VirtualClock clock(1000);
    int immediate = 0;
    auto now = clock.createTimer(
        0, [&] { ++immediate; }, true);
    now->start();
    clock.runDue();
    EXPECT_EQ(immediate, 1);
    EXPECT_EQ(clock.nowMs(), 1000);

    // A zero-interval repeating timer must not freeze time.
    int spins = 0;
    auto spinner = clock.createTimer(0, [&] { ++spins; });
    spinner->start();
    clock.advance(5);
    EXPECT_EQ(spins, 6); // 1000 .. 1005
    spinner->stop();

    int ticks = 0;
    auto tick = clock.createTimer(70, [&] { ++ticks; });
    tick->start();
    EXPECT_TRUE(clock.advanceUntil([&] { return ticks == 3; }, 10000));
    EXPECT_EQ(clock.nowMs(), 1005 + 210);
    EXPECT_FALSE(clock.advanceUntil([&] { return ticks == 100; }, 1500));
    EXPECT_EQ(clock.nowMs(), 1500);
}

TEST(VirtualClock, TimersOutlivingTheirClockAreHarmless) {
    std::unique_ptr<Timer> timer;
    {
        VirtualClock clock;
        timer = clock.createTimer(10, [] {});
        timer->start();
    }
    EXPECT_FALSE(timer->isActive());
    timer->start();
    timer->stop();
}
