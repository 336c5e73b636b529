#include "link/DeviceLink.h"

#include "link/HidReportIo.h"
#include "link/HidUnitPicker.h"
#include "link/SerialTransport.h"

#include <algorithm>
#include <array>

namespace m7410 {

DeviceLink::DeviceLink(HidUnitPicker& picker, HidReportIo& reports, SerialTransport& serial)
    : picker(picker), reports(reports), serial(serial) {}

bool DeviceLink::isHidActive() const {
    return picker.activeHidDevice() != nullptr;
}

void DeviceLink::sendHidFrame(const uint8_t* frame, std::size_t size) {
    // Only the frame's own bytes are replaced; the rest of the report keeps older bytes.
    const std::size_t n = std::min(size, HidReportIo::OutputReportSize - 1);
    reports.outputReport[0] = 0;
    std::copy_n(frame, n, reports.outputReport.begin() + 1);
    reports.UsbHidSendDataClick();
}

void DeviceLink::sendHidBlock(const uint8_t* image, std::size_t size) {
    std::array<uint8_t, HidReportIo::BlockImageSize> whole{};
    std::copy_n(image, std::min(size, whole.size()), whole.begin());
    reports.UsbHidSendBigData(whole.data());
}

void DeviceLink::writeSerial(const uint8_t* bytes, std::size_t size) {
    serial.serialSendText.assign(bytes, bytes + size);
    serial.WriteSerial();
}

void DeviceLink::resetHidAssembly() {
    reports.resetAssembly();
}

void DeviceLink::note(const std::string& line) {
    reports.note(QString::fromStdString(line));
}

} // namespace m7410
