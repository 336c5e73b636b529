#include "link/ConnectionLinkPorts.h"

#include "link/HidUnitPicker.h"
#include "link/SerialPortRegister.h"
#include "link/SerialTransport.h"
#include "link/TrafficLog.h"

namespace m7410 {

ConnectionLinkPorts::ConnectionLinkPorts(SerialPortRegister& portList, SerialTransport& serial,
                                         HidUnitPicker& picker, TrafficLog& log)
    : portList(portList), serial(serial), picker(picker), log(log) {}

bool ConnectionLinkPorts::takeSelectedPort() {
    const SerialPortEntry* entry = portList.selectedEntry();
    if (entry == nullptr) return false;
    serial.choosePort(*entry);
    return true;
}

std::string ConnectionLinkPorts::selectedPortText() const {
    const SerialPortEntry* entry = portList.selectedEntry();
    return entry == nullptr ? std::string() : entry->name.toStdString();
}

int32_t& ConnectionLinkPorts::portNumber() {
    return serial.currentPortNumber;
}

bool ConnectionLinkPorts::OpenSerialPort() {
    return serial.OpenSerialPort();
}

bool ConnectionLinkPorts::isSerialOpen() const {
    return serial.isPortOpen();
}

void ConnectionLinkPorts::StartSerialWaitThread() {
    serial.StartSerialWaitThread();
}

void ConnectionLinkPorts::CloseSerialPort() {
    serial.CloseSerialPort();
}

bool ConnectionLinkPorts::hasActiveHidDevice() const {
    return picker.activeHidDevice() != nullptr;
}

void ConnectionLinkPorts::hidctlDeviceChange() {
    picker.hidctlDeviceChange();
}

std::string ConnectionLinkPorts::deniedHidNode() const {
    return picker.deniedNode();
}

void ConnectionLinkPorts::AddToHistory(const std::string& line) {
    log.AddToHistory(QString::fromStdString(line));
}

} // namespace m7410
