// What the connection lifecycle needs from the rest of the link, as an interface tests can fake.
#pragma once

#include <cstdint>
#include <string>

namespace m7410 {

// What the connection lifecycle needs from the rest of the link: the serial port list and
// port, the HID unit and the traffic log.
class ConnectionPorts {
public:
    virtual ~ConnectionPorts() = default;

    // Makes the selected entry of the serial port list the port to open; false (and the port
    // left as it was) when no entry is selected.
    virtual bool takeSelectedPort() = 0;
    // The selected entry's text; empty when none is selected.
    virtual std::string selectedPortText() const = 0;
    // The current port number: a serial port's, 100 after a HID link opened, 0 after a failed
    // opening, -1 after a close.
    virtual int32_t& portNumber() = 0;
    // Opens and configures the current port; true when its line settings were taken.
    virtual bool OpenSerialPort() = 0;
    virtual bool isSerialOpen() const = 0;
    virtual void StartSerialWaitThread() = 0;
    virtual void CloseSerialPort() = 0;

    // The unit is the active HID device (frames then go out as HID reports).
    virtual bool hasActiveHidDevice() const = 0;
    // Rebuilds the HID device list and picks the unit.
    virtual void hidctlDeviceChange() = 0;
    // The unit's node when it is plugged in but this user may not open it; empty otherwise.
    virtual std::string deniedHidNode() const = 0;

    virtual void AddToHistory(const std::string& line) = 0;
};

} // namespace m7410
