#include "link/ConnectionAssembly.h"

namespace m7410 {

ConnectionAssembly::ConnectionAssembly(Clock& clock, SessionView& view, HidBackend& backend,
                                       SerialPortRegister::Source serialPorts)
    : hidctl(backend, clock), picker(hidctl),
      // The session keeps only the address of the link, which is made a few members later.
      session(clock, view, deviceLink), reports(picker, log, session, clock),
      serial(clock, session, session.linkOpen()),
      portList(clock, session.linkOpen(), std::move(serialPorts)),
      deviceLink(picker, reports, serial), ports(portList, serial, picker, log),
      connection(session, ports) {
    picker.onUnitData = [this](HidDevice* dev, uint8_t id, const uint8_t* data, uint16_t size) {
        reports.ShowRead(dev, id, data, size);
    };
    hidctl.setOnDeviceDataError(
        [this](HidDevice* dev, int error) { reports.hidctlDeviceDataError(dev, error); });
    hidctl.OnArrival = [this](HidDevice* dev) {
        connection.hidctlArrival(HidUnitPicker::DeviceName(*dev).toStdString(), dev->vendorId(),
                                 dev->productId());
    };
    hidctl.OnRemoval = [this](HidDevice* dev) {
        connection.hidctlRemoval(HidUnitPicker::DeviceName(*dev).toStdString(), dev->vendorId(),
                                 dev->productId());
    };
}

ConnectionAssembly::~ConnectionAssembly() {
    // Nothing may reach the members destroyed first: stop the unit's reading and the events.
    hidctl.OnArrival = nullptr;
    hidctl.OnRemoval = nullptr;
    hidctl.setOnDeviceDataError({});
    picker.onUnitData = nullptr;
    if (HidDevice* unit = picker.activeHidDevice()) unit->SetDataHandler({});
}

} // namespace m7410
