// The wall clock on the Qt event loop.
#pragma once

#include "support/Clock.h"

#include <QElapsedTimer>

namespace m7410 {

// Wall-clock time on the Qt event loop of the thread that uses it.
class RealClock : public Clock {
public:
    RealClock();

    std::unique_ptr<Timer> createTimer(int intervalMs, std::function<void()> onTimeout,
                                       bool singleShot = false) override;
    // Runs a nested event loop for ms, so window events, replies and timers are handled.
    void PumpWait(int ms) override;
    int64_t nowMs() const override;

private:
    QElapsedTimer elapsed;
};

} // namespace m7410
