// ConnectionPorts on the real link parts: serial port list and transport, HID unit picker, traffic
// log.
#pragma once

#include "link/ConnectionPorts.h"

namespace m7410 {

class HidUnitPicker;
class SerialPortRegister;
class SerialTransport;
class TrafficLog;

// The connection's view of the real link: the serial port list and transport, the HID unit
// picker and the traffic log.
class ConnectionLinkPorts : public ConnectionPorts {
public:
    ConnectionLinkPorts(SerialPortRegister& portList, SerialTransport& serial,
                        HidUnitPicker& picker, TrafficLog& log);

    bool takeSelectedPort() override;
    std::string selectedPortText() const override;
    int32_t& portNumber() override;
    bool OpenSerialPort() override;
    bool isSerialOpen() const override;
    void StartSerialWaitThread() override;
    void CloseSerialPort() override;
    bool hasActiveHidDevice() const override;
    void hidctlDeviceChange() override;
    std::string deniedHidNode() const override;
    void AddToHistory(const std::string& line) override;

private:
    SerialPortRegister& portList;
    SerialTransport& serial;
    HidUnitPicker& picker;
    TrafficLog& log;
};

} // namespace m7410
