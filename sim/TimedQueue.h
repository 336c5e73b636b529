// Items that go out in order at given clock times, as on a wire.
#pragma once

#include "support/Clock.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace m7410::sim {

// Items that go out at given clock times, in the order they were queued: a later item never
// overtakes an earlier one, as on a wire. Everything due when the timer fires goes out in one
// batch.
template <typename T> class TimedQueue {
public:
    TimedQueue(Clock& clock, std::function<void(std::vector<T>&&)> deliver)
        : clock(clock), deliver(std::move(deliver)), timer(clock.createTimer(
                                                         0, [this] { fireDue(); }, true)) {}

    void push(int64_t dueMs, T item) {
        dueMs = std::max(dueMs, lastDue);
        lastDue = dueMs;
        items.emplace_back(dueMs, std::move(item));
        arm();
    }
    // When the last queued item goes out (or went out).
    int64_t lastDueMs() const { return lastDue; }
    bool empty() const { return items.empty(); }
    std::size_t size() const { return items.size(); }
    void clear() {
        items.clear();
        timer->stop();
    }

private:
    void arm() {
        if (items.empty()) {
            timer->stop();
            return;
        }
        const int64_t wait = std::max<int64_t>(0, items.front().first - clock.nowMs());
        timer->stop();
        timer->setInterval(static_cast<int>(wait));
        timer->start();
    }

    void fireDue() {
        std::vector<T> batch;
        const int64_t now = clock.nowMs();
        while (!items.empty() && items.front().first <= now) {
            batch.push_back(std::move(items.front().second));
            items.pop_front();
        }
        // The receiver may queue more (a reply provoking the next request) or clear us.
        arm();
        if (!batch.empty()) deliver(std::move(batch));
    }

    Clock& clock;
    std::function<void(std::vector<T>&&)> deliver;
    std::unique_ptr<Timer> timer;
    std::deque<std::pair<int64_t, T>> items;
    int64_t lastDue = 0;
};

} // namespace m7410::sim
