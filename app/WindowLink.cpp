#include "app/WindowLink.h"

#include "link/Connection.h"
#include "link/DeviceLink.h"
#include "link/HidDeviceController.h"
#include "link/HidReportIo.h"
#include "link/HidUnitPicker.h"
#include "link/SerialPortRegister.h"
#include "link/SerialTransport.h"
#include "link/TrafficLog.h"
#include "protocol/Session.h"

namespace m7410 {

namespace {

std::string nameOf(HidDevice* dev) {
    return HidUnitPicker::DeviceName(*dev).toStdString();
}

} // namespace

WindowLink::WindowLink(Clock& clock, HidBackend& backend)
    : clock(clock), log(std::make_unique<TrafficLog>()),
      hidctl(std::make_unique<HidDeviceController>(backend, clock)),
      picker(std::make_unique<HidUnitPicker>(*hidctl)) {
    hidctl->setDevThreadSleepTime(DevThreadSleepTime);
}

WindowLink::~WindowLink() {
    // Devices go back to the controller before it goes.
    hidctl->OnArrival = nullptr;
    hidctl->OnRemoval = nullptr;
    picker.reset();
}

void WindowLink::attach(Session& session, Connection& connection, const QStringList& extraPorts) {
    reports = std::make_unique<HidReportIo>(*picker, *log, session, clock);
    serial = std::make_unique<SerialTransport>(clock, session, session.linkOpen);
    ports = std::make_unique<SerialPortRegister>(clock, session.linkOpen);
    if (!extraPorts.isEmpty()) ports->setExtraPorts(extraPorts);
    device = std::make_unique<DeviceLink>(*picker, *reports, *serial);

    picker->onUnitData = [this](HidDevice* dev, uint8_t id, const uint8_t* data, uint16_t size) {
        reports->ShowRead(dev, id, data, size);
    };
    hidctl->setOnDeviceDataError(
        [this](HidDevice* dev, int error) { reports->hidctlDeviceDataError(dev, error); });
    hidctl->OnArrival = [&connection](HidDevice* dev) {
        connection.hidctlArrival(nameOf(dev), dev->vendorId(), dev->productId());
    };
    hidctl->OnRemoval = [&connection](HidDevice* dev) {
        connection.hidctlRemoval(nameOf(dev), dev->vendorId(), dev->productId());
    };
}

bool WindowLink::isHidActive() const {
    return device && device->isHidActive();
}

void WindowLink::sendHidFrame(const uint8_t* frame, std::size_t size) {
    if (device) device->sendHidFrame(frame, size);
}

void WindowLink::sendHidBlock(const uint8_t* image, std::size_t size) {
    if (device) device->sendHidBlock(image, size);
}

void WindowLink::writeSerial(const uint8_t* bytes, std::size_t size) {
    if (device) device->writeSerial(bytes, size);
}

void WindowLink::resetHidAssembly() {
    if (reports) reports->resetAssembly();
}

std::optional<int> WindowLink::selectedPortNumber() const {
    const SerialPortEntry* entry = ports ? ports->selectedEntry() : nullptr;
    if (entry == nullptr) return std::nullopt;
    if (entry->number != 0) return entry->number;
    return UnnumberedPortBase + ports->selectedIndex();
}

std::string WindowLink::selectedPortText() const {
    const SerialPortEntry* entry = ports ? ports->selectedEntry() : nullptr;
    return entry != nullptr ? entry->name.toStdString() : std::string();
}

bool WindowLink::OpenSerialPort(int portNumber) {
    if (!ports || !serial) return false;
    const std::vector<SerialPortEntry>& list = ports->ports();
    const SerialPortEntry* chosen = nullptr;
    const int index = portNumber - UnnumberedPortBase;
    if (index >= 0 && index < static_cast<int>(list.size()) && list[index].number == 0) {
        chosen = &list[index];
    } else {
        for (const SerialPortEntry& e : list) {
            if (e.number != 0 && e.number == portNumber) chosen = &e;
        }
    }
    if (chosen == nullptr) return false;
    serial->choosePort(*chosen);
    return serial->OpenSerialPort();
}

bool WindowLink::isSerialOpen() const {
    return serial && serial->isPortOpen();
}

void WindowLink::StartSerialWaitThread() {
    if (serial) serial->StartSerialWaitThread();
}

void WindowLink::CloseSerialPort() {
    if (serial) serial->CloseSerialPort();
}

bool WindowLink::hasActiveHidDevice() const {
    return picker->activeHidDevice() != nullptr;
}

void WindowLink::hidctlDeviceChange() {
    picker->hidctlDeviceChange();
}

void WindowLink::AddToHistory(const std::string& line) {
    log->AddToHistory(QString::fromStdString(line));
}

} // namespace m7410
