// Waiting inside the engine without blocking it: a condition checked on the clock until it
// holds, the link is lost or a time limit passes.
#pragma once

#include "support/Clock.h"

#include <functional>
#include <memory>
#include <vector>

namespace m7410 {

enum class WaitEnd { Reached, TimedOut, Lost };

// The waits of one owner (a Unit): each ends once, and those still running when the owner goes
// end with it, silently, so that nothing outlives what it would call.
class UnitWaits {
public:
    explicit UnitWaits(Clock& clock) : clock(clock) {}
    ~UnitWaits();
    UnitWaits(const UnitWaits&) = delete;
    UnitWaits& operator=(const UnitWaits&) = delete;

    // Checks every few milliseconds; lost() ends the wait early. then() is called once, at once
    // when done() already holds.
    void until(std::function<bool()> done, std::function<bool()> lost, int limitMs,
               std::function<void(WaitEnd)> then);

private:
    struct Waiting;
    void check(const std::shared_ptr<Waiting>& w);

    Clock& clock;
    std::vector<std::shared_ptr<Waiting>> running;
};

} // namespace m7410
