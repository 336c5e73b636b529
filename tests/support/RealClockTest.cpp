#include "support/RealClock.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <algorithm>

using namespace m7410;

namespace {

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "test_support";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

} // namespace

// Only what does not depend on scheduling precision: counts and states, never durations.
TEST(RealClock, WrapsQTimerWithTheClockSemantics) {
    app();
    RealClock clock;
    int singles = 0;
    auto single = clock.createTimer(
        1, [&] { ++singles; }, true);
    single->start();
    EXPECT_TRUE(single->isActive());
    const int64_t before = clock.nowMs();
    clock.PumpWait(30);
    EXPECT_GE(clock.nowMs() - before, 29);
    EXPECT_EQ(singles, 1);
    EXPECT_FALSE(single->isActive());

    int repeats = 0;
    std::unique_ptr<Timer> repeating;
    repeating = clock.createTimer(1, [&] {
        if (++repeats == 3) repeating.reset(); // destroyed from inside its own handler
    });
    repeating->start();
    repeating->start(); // no restart, still one timer
    EXPECT_EQ(repeating->interval(), 1);
    for (int i = 0; i < 100 && repeating; ++i)
        clock.PumpWait(5);
    EXPECT_EQ(repeating, nullptr);
    EXPECT_EQ(repeats, 3);

    // A handler that pauses is not re-entered by its own ticks.
    int depth = 0;
    int maxDepth = 0;
    int calls = 0;
    auto pausing = clock.createTimer(1, [&] {
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        clock.PumpWait(10);
        --depth;
    });
    pausing->start();
    for (int i = 0; i < 50 && calls < 3; ++i)
        clock.PumpWait(5);
    pausing->stop();
    EXPECT_GE(calls, 3);
    EXPECT_EQ(maxDepth, 1);
}
