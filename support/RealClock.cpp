#include "support/RealClock.h"

#include "support/RealTimer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <thread>

namespace m7410 {

RealClock::RealClock() {
    elapsed.start();
}

std::unique_ptr<Timer> RealClock::createTimer(int intervalMs, std::function<void()> onTimeout,
                                              bool singleShot) {
    return std::make_unique<RealTimer>(intervalMs, std::move(onTimeout), singleShot);
}

void RealClock::PumpWait(int ms) {
    if (!QCoreApplication::instance()) {
        // No event loop to keep alive: still honour the pause.
        std::this_thread::sleep_for(std::chrono::milliseconds(std::max(ms, 0)));
        return;
    }
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

int64_t RealClock::nowMs() const {
    return elapsed.elapsed();
}

} // namespace m7410
