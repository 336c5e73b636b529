#pragma once

#include "link/ConnectionPorts.h"
#include "protocol/LinkPort.h"

#include <QStringList>

#include <memory>

namespace m7410 {

class Clock;
class Connection;
class DeviceLink;
class HidBackend;
class HidDeviceController;
class HidReportIo;
class HidUnitPicker;
class SerialPortRegister;
class SerialTransport;
class Session;
class TrafficLog;

// The window's link to the unit: the HID controller with its device list and report I/O, the
// serial port and its list, and the traffic log. It is what the session sends through and what
// the connection opens and closes. Made before the session; attach() completes it.
class WindowLink : public LinkPort, public ConnectionPorts {
public:
    // Wait slice of the HID read threads, as the window sets it before the first scan.
    static constexpr int DevThreadSleepTime = 250;
    // Stand-in numbers for ports whose names carry none (every Linux port name): the number
    // only has to tell an opened port from a failed opening.
    static constexpr int UnnumberedPortBase = 1000;

    WindowLink(Clock& clock, HidBackend& backend);
    ~WindowLink() override;
    WindowLink(const WindowLink&) = delete;
    WindowLink& operator=(const WindowLink&) = delete;

    // Wires the receive paths to the session and USB arrival and removal to the connection.
    void attach(Session& session, Connection& connection, const QStringList& extraPorts);

    TrafficLog& trafficLog() { return *log; }
    SerialPortRegister& portList() { return *ports; }
    HidUnitPicker& unitPicker() { return *picker; }
    HidDeviceController& hidController() { return *hidctl; }

    // LinkPort
    bool isHidActive() const override;
    void sendHidFrame(const uint8_t* frame, std::size_t size) override;
    void sendHidBlock(const uint8_t* image, std::size_t size) override;
    void writeSerial(const uint8_t* bytes, std::size_t size) override;
    void resetHidAssembly() override;

    // ConnectionPorts
    std::optional<int> selectedPortNumber() const override;
    std::string selectedPortText() const override;
    bool OpenSerialPort(int portNumber) override;
    bool isSerialOpen() const override;
    void StartSerialWaitThread() override;
    void CloseSerialPort() override;
    bool hasActiveHidDevice() const override;
    void hidctlDeviceChange() override;
    void AddToHistory(const std::string& line) override;

private:
    Clock& clock;
    std::unique_ptr<TrafficLog> log;
    std::unique_ptr<HidDeviceController> hidctl;
    std::unique_ptr<HidUnitPicker> picker;
    std::unique_ptr<HidReportIo> reports;
    std::unique_ptr<SerialTransport> serial;
    std::unique_ptr<SerialPortRegister> ports;
    std::unique_ptr<DeviceLink> device;
};

} // namespace m7410
