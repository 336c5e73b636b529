// The thread that reads one device's input reports and hands them to the owner's thread.
#pragma once

#include "link/HidBackend.h"

#include <QThread>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace m7410 {

class HidDevice;

// Reads the input reports of one checked-out device and hands each one, and each read error,
// to the owner's thread, blocking until it has been handled: the buffer is reused only then.
class HidDeviceReadThread : public QThread {
    Q_OBJECT
public:
    HidDeviceReadThread(HidDevice& device, HidBackend& backend, std::string path, int inputLength,
                        int waitSlice);
    ~HidDeviceReadThread() override;

    void setWaitSlice(int ms) { waitSlice = ms; }
    // The device is gone: drop the read handle and never open it again.
    void deviceUnplugged() { unplugged = true; }

    // Asks the thread to stop and waits for it, still serving a pending hand-over. Called from
    // inside one of its own hand-overs it cannot wait: the thread then ends on its own and
    // deletes itself, and stop() answers false (the caller must give up its ownership).
    bool stop();

protected:
    void run() override;

private:
    void handOver(std::function<void()> job);
    void servePending();
    void waitServing();
    void pause(int ms);
    int readOnce(uint8_t* buffer, int& error);

    HidDevice& device;
    HidBackend& backend;
    const std::string path;
    const int inputLength;
    std::atomic<int> waitSlice;
    std::atomic<bool> unplugged{false};
    std::unique_ptr<HidConnection> connection; // the worker's alone

    std::mutex mutex;
    std::condition_variable handedOver;
    std::function<void()> pendingJob;
    bool jobDone = true;
    int serving = 0;       // owner's thread: depth of hand-overs running now
    bool detached = false; // owner's thread: the device is gone, run no more of its jobs
};

} // namespace m7410
