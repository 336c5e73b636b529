#include "support/VirtualTimer.h"

#include "support/VirtualClock.h"

#include <algorithm>

namespace m7410 {

VirtualTimer::VirtualTimer(VirtualClock* clock, int intervalMs, std::function<void()> onTimeout,
                           bool singleShot)
    : clock(clock), callback(std::make_shared<std::function<void()>>(std::move(onTimeout))), id(0),
      intervalMs(std::max(intervalMs, 0)), singleShot(singleShot) {
    if (clock) clock->attach(this);
}

VirtualTimer::~VirtualTimer() {
    if (clock) clock->detach(this);
}

void VirtualTimer::start() {
    // A running timer keeps its phase: starting it again must not push its next tick away.
    if (active) return;
    active = true;
    schedule();
}

void VirtualTimer::stop() {
    active = false;
}

void VirtualTimer::setInterval(int ms) {
    ms = std::max(ms, 0);
    if (ms == intervalMs) return;
    intervalMs = ms;
    if (active) schedule();
}

void VirtualTimer::schedule() {
    if (!clock) return;
    due = clock->nowMs() + intervalMs;
    sequence = clock->nextSequence();
}

} // namespace m7410
