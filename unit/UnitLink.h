// The engine a Unit drives: its session and connection, and what only the engine's owner knows
// about the devices behind it.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace m7410 {

class Connection;
class ConnectionAssembly;
class Session;

// Which device a link is on, as other programs find it: the USB unit by its hidraw node and
// serial text, a serial unit by its port's path.
struct UnitIdentity {
    bool usb = false;
    std::string node;   // USB: the hidraw node
    std::string serial; // USB: the device's serial text
    std::string port;   // serial: the port's path, links resolved
};

struct UnitLink {
    Session& session;
    Connection& connection;
    // Holds once the devices present are known (the first USB scan has run).
    std::function<bool()> settled = [] { return true; };
    // The link in use once open: "USB ..." or "serial " and the port's path.
    std::function<std::string()> describe = [] { return std::string(); };
    // The serial port a connect tries (the last of the list); empty when there is none.
    std::function<std::string()> serialPort = [] { return std::string(); };
    // The device of the open link; nothing while none is open (or it cannot be told).
    std::function<std::optional<UnitIdentity>()> identity = [] {
        return std::optional<UnitIdentity>();
    };
};

// The application's assembled engine (USB and serial) as a unit link.
UnitLink linkOf(ConnectionAssembly& engine);

} // namespace m7410
