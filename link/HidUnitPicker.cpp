#include "link/HidUnitPicker.h"

#include "link/HidDeviceController.h"

#include <cerrno>

namespace m7410 {

HidUnitPicker::HidUnitPicker(HidDeviceController& hidctl) : hidctl(hidctl) {
    hidctl.OnEnumerate = [this](HidDevice* dev, int idx) { return hidctlEnumerate(dev, idx); };
    hidctl.OnDeviceChange = [this](HidDeviceController* sender) { hidctlDeviceChange(sender); };
}

HidUnitPicker::~HidUnitPicker() {
    hidctl.OnEnumerate = nullptr;
    hidctl.OnDeviceChange = nullptr;
    releaseAll();
}

QString HidUnitPicker::DeviceName(HidDevice& dev) {
    QString name = dev.ProductText();
    if (name.isEmpty()) {
        const auto hex4 = [](uint16_t v) {
            return QString::number(v, 16).toUpper().rightJustified(4, QChar('0'));
        };
        name =
            QStringLiteral("Device VID=%1 PID=%2").arg(hex4(dev.vendorId()), hex4(dev.productId()));
    }
    const QString serial = dev.SerialText();
    if (!serial.isEmpty()) name += QStringLiteral(" (Serial=%1)").arg(serial);
    return name;
}

bool HidUnitPicker::hidctlEnumerate(HidDevice* dev, int idx) {
    Line line{DeviceName(*dev), nullptr};
    line.device = hidctl.CheckOutDevice(idx);
    lines.push_back(line);
    return true;
}

void HidUnitPicker::releaseAll() {
    // Forget the active device first: releasing may run one last report through a handler.
    active = nullptr;
    const std::vector<Line> old = std::exchange(lines, {});
    for (const Line& line : old) {
        if (line.device) hidctl.ReleaseDevice(line.device);
    }
}

void HidUnitPicker::hidctlDeviceChange(HidDeviceController*) {
    releaseAll();
    hidctl.EnumerateDevices();
    unitPresent = 0;
    for (const Line& line : lines) {
        if (line.text == UnitName && line.device) {
            unitPresent = 1;
            active = line.device;
            active->SetDataHandler(onUnitData);
            return;
        }
    }
}

std::string HidUnitPicker::deniedNode() const {
    if (active == nullptr || active->openError() != EACCES) return {};
    return active->pnpInfo().path;
}

} // namespace m7410
