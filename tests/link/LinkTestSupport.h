#pragma once

#include "link/VirtualHidBackend.h"
#include "protocol/InboundSink.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

#include <string>
#include <vector>

namespace m7410::test {

inline QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "test_link";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

// Processes events until the condition holds; false when it does not within the time.
inline bool processUntil(const std::function<bool()>& condition, int timeoutMs = 2000) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Records what the dispatcher would have been given; leaves the receive text as it is, like a
// dispatcher waiting for the rest of a frame.
class RecordingSink : public InboundSink {
public:
    std::string& receiveText() override { return text; }
    void ProcessReceived() override { received.push_back(text); }

    std::string text;
    std::vector<std::string> received;
};

inline VirtualHidDeviceSpec unitSpec() {
    VirtualHidDeviceSpec spec;
    spec.vendorId = 0x0483;
    spec.productId = 0x5750;
    spec.product = u"RIVIDAVIDIZIR02";
    spec.serial = u"0000002";
    return spec;
}

inline VirtualHidDeviceSpec otherSpec(uint16_t vendor, uint16_t product) {
    VirtualHidDeviceSpec spec;
    spec.vendorId = vendor;
    spec.productId = product;
    return spec;
}

} // namespace m7410::test
