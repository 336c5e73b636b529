#include "support/VirtualClock.h"

#include "support/VirtualTimer.h"

#include <algorithm>

namespace m7410 {

VirtualClock::VirtualClock(int64_t startMs) : currentMs(startMs) {}

VirtualClock::~VirtualClock() {
    // Timers that outlive their clock just never fire again.
    for (VirtualTimer* t : timers) {
        t->clock = nullptr;
        t->active = false;
    }
}

std::unique_ptr<Timer> VirtualClock::createTimer(int intervalMs, std::function<void()> onTimeout,
                                                 bool singleShot) {
    return std::make_unique<VirtualTimer>(this, intervalMs, std::move(onTimeout), singleShot);
}

void VirtualClock::PumpWait(int ms) {
    const int64_t before = currentMs;
    advanceTo(currentMs + std::max(ms, 0));
    pumped += currentMs - before;
}

void VirtualClock::advanceTo(int64_t t) {
    while (VirtualTimer* timer = nextDue(t)) {
        currentMs = std::max(currentMs, timer->due);
        fire(timer);
    }
    currentMs = std::max(currentMs, t);
}

bool VirtualClock::advanceUntil(const std::function<bool()>& condition, int64_t limitMs) {
    while (!condition()) {
        const std::optional<int64_t> next = nextDueMs();
        if (currentMs >= limitMs) return false;
        if (!next || *next > limitMs) {
            advanceTo(limitMs);
            return condition();
        }
        // One timer at a time, so time rests where the condition first holds.
        VirtualTimer* timer = nextDue(*next);
        currentMs = std::max(currentMs, timer->due);
        fire(timer);
    }
    return true;
}

std::optional<int64_t> VirtualClock::nextDueMs() const {
    std::optional<int64_t> best;
    for (const VirtualTimer* t : timers) {
        if (t->active && !t->firing && (!best || t->due < *best)) best = t->due;
    }
    if (best) best = std::max(*best, currentMs);
    return best;
}

int VirtualClock::activeTimerCount() const {
    return static_cast<int>(std::count_if(timers.begin(), timers.end(),
                                          [](const VirtualTimer* t) { return t->active; }));
}

void VirtualClock::attach(VirtualTimer* timer) {
    timer->id = ++lastId;
    timers.push_back(timer);
}

void VirtualClock::detach(VirtualTimer* timer) {
    std::erase(timers, timer);
}

VirtualTimer* VirtualClock::nextDue(int64_t limit) const {
    VirtualTimer* best = nullptr;
    for (VirtualTimer* t : timers) {
        // A timer whose handler is still running (it paused inside) is not fired again.
        if (!t->active || t->firing || t->due > limit) continue;
        if (!best || t->due < best->due || (t->due == best->due && t->sequence < best->sequence))
            best = t;
    }
    return best;
}

VirtualTimer* VirtualClock::findById(uint64_t id) const {
    for (VirtualTimer* t : timers) {
        if (t->id == id) return t;
    }
    return nullptr;
}

void VirtualClock::fire(VirtualTimer* timer) {
    if (timer->singleShot) {
        timer->active = false;
    } else {
        // Zero-interval repeating timers still advance, or time could never pass them.
        const int64_t step = std::max(timer->intervalMs, 1);
        timer->due += step;
        // Ticks missed during a long pause are not caught up in a burst.
        if (timer->due <= currentMs) timer->due = currentMs + step;
        timer->sequence = nextSequence();
    }
    const uint64_t id = timer->id;
    const auto callback = timer->callback;
    timer->firing = true;
    if (*callback) (*callback)();
    // The handler may have destroyed its own timer.
    if (VirtualTimer* still = findById(id)) still->firing = false;
}

} // namespace m7410
