#include "unit/UnitWait.h"

#include <algorithm>

namespace m7410 {

namespace {
// Short enough that a reply is taken up within one slice of the engine's own pacing.
constexpr int SliceMs = 10;
} // namespace

struct UnitWaits::Waiting {
    std::function<bool()> done;
    std::function<bool()> lost;
    std::function<void(WaitEnd)> then;
    int64_t endMs = 0;
    std::unique_ptr<Timer> timer;
};

UnitWaits::~UnitWaits() {
    // The timers go first: none of them may fire into a wait whose state is going.
    for (const std::shared_ptr<Waiting>& w : running)
        w->timer.reset();
}

void UnitWaits::until(std::function<bool()> done, std::function<bool()> lost, int limitMs,
                      std::function<void(WaitEnd)> then) {
    if (done()) {
        then(WaitEnd::Reached);
        return;
    }
    auto w = std::make_shared<Waiting>();
    w->done = std::move(done);
    w->lost = std::move(lost);
    w->then = std::move(then);
    w->endMs = clock.nowMs() + limitMs;
    // The timer holds the wait weakly: the list is its one owner.
    std::weak_ptr<Waiting> weak = w;
    w->timer = clock.createTimer(SliceMs, [this, weak] {
        if (std::shared_ptr<Waiting> held = weak.lock()) check(held);
    });
    running.push_back(w);
    w->timer->start();
}

void UnitWaits::check(const std::shared_ptr<Waiting>& w) {
    WaitEnd end;
    if (w->done())
        end = WaitEnd::Reached;
    else if (w->lost())
        end = WaitEnd::Lost;
    else if (clock.nowMs() >= w->endMs)
        end = WaitEnd::TimedOut;
    else
        return;
    // The clock keeps this handler alive while it runs, so the timer may go now; then() may
    // start further waits, so the list changes only before it is called.
    std::function<void(WaitEnd)> then = std::move(w->then);
    w->timer->stop();
    running.erase(std::remove(running.begin(), running.end(), w), running.end());
    then(end);
}

} // namespace m7410
