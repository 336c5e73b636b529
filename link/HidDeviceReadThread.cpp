#include "link/HidDeviceReadThread.h"

#include "link/HidDevice.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace m7410 {

HidDeviceReadThread::HidDeviceReadThread(HidDevice& device, HidBackend& backend, std::string path,
                                         int inputLength, int waitSlice)
    : device(device), backend(backend), path(std::move(path)),
      inputLength(std::max(inputLength, 1)), waitSlice(waitSlice) {}

HidDeviceReadThread::~HidDeviceReadThread() {
    detached = true;
    requestInterruption();
    waitServing();
}

bool HidDeviceReadThread::stop() {
    requestInterruption();
    if (serving > 0) {
        detached = true;
        connect(this, &QThread::finished, this, &QObject::deleteLater);
        return false;
    }
    waitServing();
    return true;
}

void HidDeviceReadThread::waitServing() {
    // The thread may be blocked in a hand-over: serve it, or it would never end.
    while (!wait(QDeadlineTimer(5)))
        servePending();
}

void HidDeviceReadThread::run() {
    std::vector<uint8_t> buffer(static_cast<std::size_t>(inputLength));
    while (!isInterruptionRequested()) {
        std::fill(buffer.begin(), buffer.end(), 0);
        int error = 0;
        const int count = readOnce(buffer.data(), error);
        if (isInterruptionRequested()) break;
        if (error != 0) {
            handOver([this, error] { device.deliverError(error); });
            // An unplugged device fails at once every time; pausing keeps the log readable
            // until the next scan releases the device.
            pause(waitSlice);
        } else if (count > 0) {
            handOver([this, &buffer, count] { device.deliverReport(buffer.data(), count); });
        }
    }
    connection.reset();
}

int HidDeviceReadThread::readOnce(uint8_t* buffer, int& error) {
    if (unplugged) connection.reset();
    if (!connection) {
        if (unplugged) {
            error = ENODEV;
            return 0;
        }
        connection = backend.open(path, HidAccess::ReadOnly, error);
        if (!connection) {
            if (error == 0) error = EIO;
            return 0;
        }
    }
    while (!isInterruptionRequested() && !unplugged) {
        const int n = connection->read(buffer, static_cast<std::size_t>(inputLength), waitSlice);
        if (n > 0) return n;
        if (n < 0) {
            error = connection->lastError() != 0 ? connection->lastError() : EIO;
            connection.reset();
            return 0;
        }
    }
    return 0;
}

void HidDeviceReadThread::pause(int ms) {
    for (int waited = 0; waited < ms && !isInterruptionRequested(); waited += 10)
        msleep(10);
}

void HidDeviceReadThread::handOver(std::function<void()> job) {
    std::unique_lock lock(mutex);
    pendingJob = std::move(job);
    jobDone = false;
    lock.unlock();
    QMetaObject::invokeMethod(
        this, [this] { servePending(); }, Qt::QueuedConnection);
    lock.lock();
    handedOver.wait(lock, [this] { return jobDone; });
}

void HidDeviceReadThread::servePending() {
    std::function<void()> job;
    {
        std::lock_guard lock(mutex);
        if (!pendingJob) return;
        job = std::move(pendingJob);
        pendingJob = nullptr;
    }
    ++serving;
    if (!detached) job();
    --serving;
    {
        std::lock_guard lock(mutex);
        jobDone = true;
    }
    handedOver.notify_all();
}

} // namespace m7410
