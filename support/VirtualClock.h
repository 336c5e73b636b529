// Time that moves only when a test says so.
#pragma once

#include "support/Clock.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace m7410 {

class VirtualTimer;

// Time that moves only when a test says so. Due timers fire in time order (equal times in the
// order they were armed), each at its exact due time, so whole exchanges with all their
// time-outs run deterministically and fast.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(int64_t startMs = 0);
    ~VirtualClock() override;
    VirtualClock(const VirtualClock&) = delete;
    VirtualClock& operator=(const VirtualClock&) = delete;

    std::unique_ptr<Timer> createTimer(int intervalMs, std::function<void()> onTimeout,
                                       bool singleShot = false) override;
    // Advances virtual time by ms, firing what falls due; works nested inside a handler too.
    void PumpWait(int ms) override;
    int64_t nowMs() const override { return currentMs; }

    void advance(int64_t ms) { advanceTo(currentMs + ms); }
    // Fires every timer due up to t in order, then rests at t. Time never goes back: a nested
    // pause may already have carried it past t.
    void advanceTo(int64_t t);
    // Fires what is due now (for example zero-interval single shots) without moving time.
    void runDue() { advanceTo(currentMs); }
    // Advances timer by timer until the condition holds or the limit is reached; returns the
    // condition. Time rests at the moment the condition became true.
    bool advanceUntil(const std::function<bool()>& condition, int64_t limitMs);

    std::optional<int64_t> nextDueMs() const;
    int activeTimerCount() const;
    // Total virtual time spent in PumpWait, to check how long a flow paused.
    int64_t pumpedMs() const { return pumped; }

private:
    friend class VirtualTimer;
    void attach(VirtualTimer* timer);
    void detach(VirtualTimer* timer);
    uint64_t nextSequence() { return ++sequence; }
    VirtualTimer* nextDue(int64_t limit) const;
    VirtualTimer* findById(uint64_t id) const;
    void fire(VirtualTimer* timer);

    int64_t currentMs;
    int64_t pumped = 0;
    uint64_t sequence = 0;
    uint64_t lastId = 0;
    std::vector<VirtualTimer*> timers;
};

} // namespace m7410
