// A named pipe nobody writes, for tests of code that must never wait on one.
#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace m7410::test {

// A pipe nobody writes to. Should the code under test block on it, a writer comes after a
// few seconds and goes again, so the test fails instead of hanging.
class Fifo {
public:
    explicit Fifo(const QString& path) : path(path.toLocal8Bit()) {
        made = ::mkfifo(this->path.constData(), 0600) == 0;
        rescue = std::thread([this] {
            std::unique_lock lock(mutex);
            auto wait = std::chrono::milliseconds(3000);
            while (!done.wait_for(lock, wait, [this] { return finished; })) {
                // Each open that blocks is let go, however many there are.
                blocked = true;
                const int fd = ::open(this->path.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) ::close(fd);
                wait = std::chrono::milliseconds(100);
            }
        });
    }
    ~Fifo() {
        {
            std::lock_guard lock(mutex);
            finished = true;
        }
        done.notify_all();
        rescue.join();
    }
    bool made = false;
    std::atomic<bool> blocked{false};

private:
    QByteArray path;
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::thread rescue;
};

} // namespace m7410::test
