#pragma once

#include "link/ConnectionPorts.h"
#include "protocol/LinkPort.h"

namespace m7410 {

// The window's link to the unit: the USB HID unit when present, else the last serial port.
// It is what the session sends through and what the connection opens and closes.
class WindowLink : public LinkPort, public ConnectionPorts {
public:
    WindowLink() = default;

    // LinkPort
    bool isHidActive() const override { return false; }
    void sendHidFrame(const uint8_t*, std::size_t) override {}
    void sendHidBlock(const uint8_t*, std::size_t) override {}
    void writeSerial(const uint8_t*, std::size_t) override {}

    // ConnectionPorts
    std::optional<int> selectedPortNumber() const override { return std::nullopt; }
    std::string selectedPortText() const override { return {}; }
    bool OpenSerialPort(int) override { return false; }
    bool isSerialOpen() const override { return false; }
    void StartSerialWaitThread() override {}
    void CloseSerialPort() override {}
    bool hasActiveHidDevice() const override { return false; }
    void hidctlDeviceChange() override {}
    void AddToHistory(const std::string&) override {}
};

} // namespace m7410
