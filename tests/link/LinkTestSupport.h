// Virtual HID devices and the HID side of the link wired as the window wires it, for link tests.
#pragma once

#include "common/RealTime.h"
#include "link/DeviceLink.h"
#include "link/HidDeviceController.h"
#include "link/HidReportIo.h"
#include "link/HidUnitPicker.h"
#include "link/SerialTransport.h"
#include "link/TrafficLog.h"
#include "link/VirtualHidBackend.h"
#include "protocol/InboundSink.h"

#include <memory>
#include <string>
#include <vector>

namespace m7410::test {

// Records what the dispatcher would have been given; leaves the receive text as it is, like a
// dispatcher waiting for the rest of a frame.
class RecordingSink : public InboundSink {
public:
    std::string& receiveText() override { return text; }
    void ProcessReceived() override { received.push_back(text); }

    std::string text;
    std::vector<std::string> received;
};

inline VirtualHidDeviceInfo unitSpec() {
    VirtualHidDeviceInfo info;
    info.vendorId = 0x0483;
    info.productId = 0x5750;
    info.product = u"RIVIDAVIDIZIR02";
    info.serial = u"0000002";
    return info;
}

inline VirtualHidDeviceInfo otherSpec(uint16_t vendor, uint16_t product) {
    VirtualHidDeviceInfo info;
    info.vendorId = vendor;
    info.productId = product;
    return info;
}

// The HID side of the link wired the way the window wires it, on virtual devices. The
// controller's first scan runs once the clock (or, in real time, the event loop) gets to it.
template <typename ClockType> struct LinkRig {
    ClockType clock;
    VirtualHidBackend backend;
    TrafficLog log;
    RecordingSink sink;
    int32_t linkOpen = 1;
    SerialTransport serial{clock, sink, linkOpen};
    std::unique_ptr<HidDeviceController> hidctl;
    std::unique_ptr<HidUnitPicker> picker;
    std::unique_ptr<HidReportIo> io;
    std::unique_ptr<DeviceLink> link;

    explicit LinkRig(bool threadedReads) {
        app();
        backend.setThreadedReads(threadedReads);
    }
    ~LinkRig() {
        link.reset();
        io.reset();
        picker.reset(); // gives the devices back before the controller goes
        hidctl.reset();
    }

    void start() {
        hidctl = std::make_unique<HidDeviceController>(backend, clock);
        picker = std::make_unique<HidUnitPicker>(*hidctl);
        io = std::make_unique<HidReportIo>(*picker, log, sink, clock);
        link = std::make_unique<DeviceLink>(*picker, *io, serial);
        picker->onUnitData = [this](HidDevice* d, uint8_t id, const uint8_t* data, uint16_t n) {
            io->ShowRead(d, id, data, n);
        };
        hidctl->setOnDeviceDataError(
            [this](HidDevice* d, int error) { io->hidctlDeviceDataError(d, error); });
    }
};

} // namespace m7410::test
