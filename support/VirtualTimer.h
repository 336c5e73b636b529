// A timer on virtual time.
#pragma once

#include "support/Clock.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace m7410 {

class VirtualClock;

// A timer on virtual time: it only fires while its VirtualClock is advanced.
class VirtualTimer : public Timer {
public:
    VirtualTimer(VirtualClock* clock, int intervalMs, std::function<void()> onTimeout,
                 bool singleShot);
    ~VirtualTimer() override;
    VirtualTimer(const VirtualTimer&) = delete;
    VirtualTimer& operator=(const VirtualTimer&) = delete;

    void start() override;
    void stop() override;
    bool isActive() const override { return active; }
    void setInterval(int ms) override;
    int interval() const override { return intervalMs; }
    void setSingleShot(bool value) override { singleShot = value; }
    bool isSingleShot() const override { return singleShot; }

    // When the timer fires next (meaningful while active).
    int64_t dueMs() const { return due; }

private:
    friend class VirtualClock;
    void schedule();

    VirtualClock* clock;
    // Shared so the handler survives the timer being destroyed from inside it.
    std::shared_ptr<std::function<void()>> callback;
    uint64_t id;
    int intervalMs;
    bool singleShot;
    bool active = false;
    bool firing = false;
    int64_t due = 0;
    uint64_t sequence = 0;
};

} // namespace m7410
