// Picking the unit out of the HID devices present by its name.
#pragma once

#include "link/HidDevice.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace m7410 {

class HidDeviceController;

// Keeps every present HID device checked out, one line per device, and picks the processor
// from them by its display name. Installs itself as the controller's enumeration and
// device-change handler; give it back all devices (destroy it) before the controller goes.
class HidUnitPicker {
public:
    static inline const QString UnitName = QStringLiteral("RIVIDAVIDIZIR02 (Serial=0000002)");

    struct Line {
        QString text;
        HidDevice* device = nullptr;
    };

    explicit HidUnitPicker(HidDeviceController& hidctl);
    ~HidUnitPicker();
    HidUnitPicker(const HidUnitPicker&) = delete;
    HidUnitPicker& operator=(const HidUnitPicker&) = delete;

    // The product text, or "Device VID=xxxx PID=xxxx", then " (Serial=...)" when it has one.
    static QString DeviceName(HidDevice& dev);

    bool hidctlEnumerate(HidDevice* dev, int idx);
    // Rebuilds the list and picks the processor, which then starts being read.
    void hidctlDeviceChange(HidDeviceController* sender = nullptr);

    // The processor's reports go here (the report reassembly).
    HidDevice::DataHandler onUnitData;

    HidDevice* activeHidDevice() const { return active; }
    bool hidUnitPresent() const { return unitPresent != 0; }
    // The unit's node when it is plugged in but this user may not open it; empty otherwise.
    std::string deniedNode() const;
    const std::vector<Line>& DevListBox() const { return lines; }

private:
    void releaseAll();

    HidDeviceController& hidctl;
    std::vector<Line> lines;
    HidDevice* active = nullptr;
    int32_t unitPresent = 0;
};

} // namespace m7410
