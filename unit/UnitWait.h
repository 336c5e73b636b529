// Waiting inside the engine without blocking it: a condition checked on the clock until it
// holds, the link is lost or a time limit passes.
#pragma once

#include "support/Clock.h"

#include <functional>
#include <memory>

namespace m7410 {

enum class WaitEnd { Reached, TimedOut, Lost };

class UnitWait {
public:
    // Checks every few milliseconds; lost() ends the wait early. The wait owns itself and is
    // gone once then() has been called.
    static void until(Clock& clock, std::function<bool()> done, std::function<bool()> lost,
                      int limitMs, std::function<void(WaitEnd)> then);
};

} // namespace m7410
