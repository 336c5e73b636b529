// The whole engine behind a front end, wired: HID, serial, traffic log, session and connection.
#pragma once

#include "link/Connection.h"
#include "link/ConnectionLinkPorts.h"
#include "link/DeviceLink.h"
#include "link/HidDeviceController.h"
#include "link/HidReportIo.h"
#include "link/HidUnitPicker.h"
#include "link/SerialPortRegister.h"
#include "link/SerialTransport.h"
#include "link/TrafficLog.h"
#include "protocol/Session.h"

namespace m7410 {

class Clock;
class HidBackend;
class SessionView;

// The whole engine behind the window, wired: the HID controller and unit picker, the report
// I/O and traffic log, the serial port list and transport, the session with its scheduler and
// dispatcher, and the connection lifecycle. The window owns one and implements the view.
class ConnectionAssembly {
public:
    ConnectionAssembly(Clock& clock, SessionView& view, HidBackend& backend,
                       SerialPortRegister::Source serialPorts = SerialPortRegister::systemPorts);
    ~ConnectionAssembly();
    ConnectionAssembly(const ConnectionAssembly&) = delete;
    ConnectionAssembly& operator=(const ConnectionAssembly&) = delete;

    HidDeviceController hidctl;
    HidUnitPicker picker;
    TrafficLog log;
    Session session;
    HidReportIo reports;
    SerialTransport serial;
    SerialPortRegister portList;
    DeviceLink deviceLink;
    ConnectionLinkPorts ports;
    Connection connection;
};

} // namespace m7410
