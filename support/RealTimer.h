// A Clock timer on a QTimer.
#pragma once

#include "support/Clock.h"

#include <functional>
#include <memory>

class QTimer;

namespace m7410 {

// A Clock timer on a QTimer of the creating thread's event loop.
class RealTimer : public Timer {
public:
    RealTimer(int intervalMs, std::function<void()> onTimeout, bool singleShot);
    ~RealTimer() override;
    RealTimer(const RealTimer&) = delete;
    RealTimer& operator=(const RealTimer&) = delete;

    void start() override;
    void stop() override;
    bool isActive() const override;
    void setInterval(int ms) override;
    int interval() const override;
    void setSingleShot(bool singleShot) override;
    bool isSingleShot() const override;

private:
    std::unique_ptr<QTimer> timer;
    // Shared so the handler survives the timer being destroyed from inside it.
    std::shared_ptr<std::function<void()>> callback;
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    bool firing = false;
};

} // namespace m7410
