#include "sim/tool/PtyServer.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace m7410::sim {

PtyServer::PtyServer() = default;

PtyServer::~PtyServer() {
    readNotifier.reset();
    writeNotifier.reset();
    if (slaveKeeper >= 0) ::close(slaveKeeper);
    if (master >= 0) ::close(master);
}

bool PtyServer::open() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ::ptsname(master);
    if (!name) {
        error = std::string("no slave name: ") + std::strerror(errno);
        return false;
    }
    slave = name;
    slaveKeeper = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios tio{};
    if (slaveKeeper < 0 || ::tcgetattr(slaveKeeper, &tio) != 0) {
        error = "cannot configure " + slave + ": " + std::strerror(errno);
        return false;
    }
    // Raw bytes both ways: no echo, no line editing, no CR/LF translation.
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    tio.c_cflag = (tio.c_cflag & ~(CSIZE | PARENB | CSTOPB)) | CS8 | CLOCAL | CREAD;
    if (::tcsetattr(slaveKeeper, TCSANOW, &tio) != 0) {
        error = "cannot configure " + slave + ": " + std::strerror(errno);
        return false;
    }
    readNotifier = std::make_unique<QSocketNotifier>(master, QSocketNotifier::Read);
    connect(readNotifier.get(), &QSocketNotifier::activated, this, [this] { readReady(); });
    writeNotifier = std::make_unique<QSocketNotifier>(master, QSocketNotifier::Write);
    writeNotifier->setEnabled(false);
    connect(writeNotifier.get(), &QSocketNotifier::activated, this, [this] { flush(); });
    return true;
}

void PtyServer::readReady() {
    uint8_t buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n > 0) {
            if (onRead) onRead(buffer, std::size_t(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // EAGAIN: all read. EIO cannot happen while the slave is held open.
        return;
    }
}

void PtyServer::write(const std::vector<uint8_t>& bytes) {
    outgoing.insert(outgoing.end(), bytes.begin(), bytes.end());
    flush();
}

void PtyServer::flush() {
    while (!outgoing.empty()) {
        const ssize_t n = ::write(master, outgoing.data(), outgoing.size());
        if (n > 0) {
            outgoing.erase(outgoing.begin(), outgoing.begin() + n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break; // the line is full: wait until it can take more
    }
    if (writeNotifier) writeNotifier->setEnabled(!outgoing.empty());
}

} // namespace m7410::sim
