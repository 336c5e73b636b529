#include "unit/UnitWait.h"

namespace m7410 {

namespace {
// Short enough that a reply is taken up within one slice of the engine's own pacing.
constexpr int SliceMs = 10;

struct Waiting {
    std::function<bool()> done;
    std::function<bool()> lost;
    std::function<void(WaitEnd)> then;
    int64_t endMs = 0;
    std::unique_ptr<Timer> timer;
};
} // namespace

void UnitWait::until(Clock& clock, std::function<bool()> done, std::function<bool()> lost,
                     int limitMs, std::function<void(WaitEnd)> then) {
    if (done()) {
        then(WaitEnd::Reached);
        return;
    }
    auto w = std::make_shared<Waiting>();
    w->done = std::move(done);
    w->lost = std::move(lost);
    w->then = std::move(then);
    w->endMs = clock.nowMs() + limitMs;
    Clock* c = &clock;
    w->timer = clock.createTimer(SliceMs, [w, c] {
        WaitEnd end;
        if (w->done())
            end = WaitEnd::Reached;
        else if (w->lost())
            end = WaitEnd::Lost;
        else if (c->nowMs() >= w->endMs)
            end = WaitEnd::TimedOut;
        else
            return;
        // The clock keeps this handler alive while it runs, so the timer may go now; that
        // also breaks the cycle between the state and its timer.
        auto then = std::move(w->then);
        w->timer.reset();
        then(end);
    });
    w->timer->start();
}

} // namespace m7410
