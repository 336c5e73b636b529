// The clock and timer interface all protocol timing goes through.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

// All protocol timing goes through a Clock, so tests can run it on virtual time.
namespace m7410 {

class Timer {
public:
    virtual ~Timer() = default;
    // Starting a running timer keeps its running interval (it is not restarted); starting a
    // stopped one begins a full interval.
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    // A changed interval restarts a running timer with the new interval; the same one changes
    // nothing.
    virtual void setInterval(int ms) = 0;
    virtual int interval() const = 0;
    virtual void setSingleShot(bool singleShot) = 0;
    virtual bool isSingleShot() const = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // A new timer is stopped until start(). It calls onTimeout on the owning thread each time
    // it fires; a timer is never fired again while its own handler still runs. A timer may be
    // stopped, restarted or destroyed from inside its own handler.
    virtual std::unique_ptr<Timer> createTimer(int intervalMs, std::function<void()> onTimeout,
                                               bool singleShot = false) = 0;
    // Responsive pause: timers and (with the real clock) window events are handled meanwhile.
    virtual void PumpWait(int ms) = 0;
    // Milliseconds since an arbitrary start.
    virtual int64_t nowMs() const = 0;
};

} // namespace m7410
