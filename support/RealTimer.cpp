#include "support/RealTimer.h"

#include <QTimer>

#include <algorithm>

namespace m7410 {

RealTimer::RealTimer(int intervalMs, std::function<void()> onTimeout, bool singleShot)
    : timer(std::make_unique<QTimer>()),
      callback(std::make_shared<std::function<void()>>(std::move(onTimeout))) {
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(std::max(intervalMs, 0));
    timer->setSingleShot(singleShot);
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this, cb = callback, a = alive] {
        // Not re-entered from a nested event loop its own handler started.
        if (firing || !*cb) return;
        firing = true;
        (*cb)();
        if (*a) firing = false;
    });
}

RealTimer::~RealTimer() {
    *alive = false;
    timer->stop();
    timer->disconnect();
    // Destroyed from inside its own handler: the QTimer is still in its timer event.
    if (firing) timer.release()->deleteLater();
}

void RealTimer::start() {
    // QTimer::start() would restart a running timer; the running one keeps its phase.
    if (timer->isActive()) return;
    timer->start();
}

void RealTimer::stop() {
    timer->stop();
}
bool RealTimer::isActive() const {
    return timer->isActive();
}

void RealTimer::setInterval(int ms) {
    ms = std::max(ms, 0);
    if (ms != timer->interval()) timer->setInterval(ms);
}

int RealTimer::interval() const {
    return timer->interval();
}
void RealTimer::setSingleShot(bool singleShot) {
    timer->setSingleShot(singleShot);
}
bool RealTimer::isSingleShot() const {
    return timer->isSingleShot();
}

} // namespace m7410
