#pragma once

#include <optional>
#include <string>

namespace m7410 {

// What the connection lifecycle needs from the rest of the link: the serial port list and
// port, the HID unit and the traffic log.
class ConnectionPorts {
public:
    virtual ~ConnectionPorts() = default;

    // Port number of the selected entry of the serial port list; nothing when none is selected.
    virtual std::optional<int> selectedPortNumber() const = 0;
    // The selected entry's text; empty when none is selected.
    virtual std::string selectedPortText() const = 0;
    // Opens and configures the port of this number; true when its line settings were taken.
    virtual bool OpenSerialPort(int portNumber) = 0;
    virtual bool isSerialOpen() const = 0;
    virtual void StartSerialWaitThread() = 0;
    virtual void CloseSerialPort() = 0;

    // The unit is the active HID device (frames then go out as HID reports).
    virtual bool hasActiveHidDevice() const = 0;
    // Rebuilds the HID device list and picks the unit.
    virtual void hidctlDeviceChange() = 0;

    virtual void AddToHistory(const std::string& line) = 0;
};

} // namespace m7410
