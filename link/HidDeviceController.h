// Finding the HID devices present, following arrival and removal, and lending devices out.
#pragma once

#include "link/HidBackend.h"
#include "link/HidDevice.h"

#include <functional>
#include <memory>
#include <vector>

namespace m7410 {

class Clock;
class Timer;

// Finds the HID devices present, keeps one HidDevice per device, follows arrival and removal
// and lends devices out. Everything runs on the owner's thread; only the read threads of
// devices being read run elsewhere.
class HidDeviceController {
public:
    using PlugEvent = std::function<void(HidDevice* dev)>;
    using ChangeEvent = std::function<void(HidDeviceController* sender)>;
    // Answers true to be offered the next device.
    using EnumerateEvent = std::function<bool(HidDevice* dev, int idx)>;

    // The first scan runs once the clock's owner processes events (a posted notification).
    HidDeviceController(HidBackend& backend, Clock& clock);
    // Devices still checked out are destroyed too: holders give them back first.
    ~HidDeviceController();
    HidDeviceController(const HidDeviceController&) = delete;
    HidDeviceController& operator=(const HidDeviceController&) = delete;

    PlugEvent OnArrival;
    PlugEvent OnRemoval;
    ChangeEvent OnDeviceChange;
    EnumerateEvent OnEnumerate;

    // Setting one of these also replaces the handler of every listed device that still has
    // the controller's previous one.
    void setOnDeviceData(HidDevice::DataHandler handler);
    void setOnDeviceDataError(HidDevice::DataErrorHandler handler);
    void setOnDeviceUnplug(HidDevice::UnplugHandler handler);
    const HidDevice::DataHandler& OnDeviceData() const { return onDeviceData; }
    const HidDevice::DataErrorHandler& OnDeviceDataError() const { return onDeviceDataError; }
    const HidDevice::UnplugHandler& OnDeviceUnplug() const { return onDeviceUnplug; }

    int DevThreadSleepTime() const { return sleepTime; }
    // Devices whose wait slice still equals the old value get the new one.
    void setDevThreadSleepTime(int ms);

    // Rescans now. A call during a scan does not nest: it runs once the scan is over.
    void DeviceChange();
    // The platform's notification: the scan runs once the owner processes events, so it never
    // runs in the middle of a caller's work.
    void postDeviceChange();

    // Offers each plugged-in device to OnEnumerate; answers the number offered.
    int EnumerateDevices();
    // Nothing when index is outside the list or the device is already checked out.
    HidDevice* CheckOutDevice(int index);
    // Gives a checked-out device back. Its object is destroyed; when the device is still
    // plugged in a fresh object keeping its data and unplug handlers and its wait slice
    // takes its place.
    void ReleaseDevice(HidDevice* device);

    int count() const { return static_cast<int>(devices.size()); }
    HidDevice* device(int index) const;
    bool isScanning() const { return busy; }
    int scanCount() const { return scans; }

private:
    std::vector<std::unique_ptr<HidDevice>> scanPresent();
    bool removeGone(const std::vector<std::unique_ptr<HidDevice>>& present);
    bool addArrived(std::vector<std::unique_ptr<HidDevice>> present);
    void adopt(HidDevice& device);
    // The device's place in the list; -1 when it is not listed.
    int indexOf(const HidDevice* device) const;
    bool isListed(const HidDevice* device) const;
    void eraseDevice(const HidDevice* device);

    HidBackend& backend;
    std::vector<std::unique_ptr<HidDevice>> devices;
    std::unique_ptr<Timer> notification;
    bool initialScan = true;
    bool busy = false;
    bool rescanWanted = false;
    int scans = 0;
    int sleepTime = HidDevice::DefaultWaitSlice;

    HidDevice::DataHandler onDeviceData;
    HidDevice::DataErrorHandler onDeviceDataError;
    HidDevice::UnplugHandler onDeviceUnplug;
};

} // namespace m7410
