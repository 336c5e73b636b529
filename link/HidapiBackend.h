// HidBackend on this machine's hidraw devices through hidapi.
#pragma once

#include "link/HidBackend.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

class QSocketNotifier;
struct udev;
struct udev_monitor;

namespace m7410 {

// The HID devices of this machine through hidapi's hidraw backend. Identity and texts come
// from the enumeration (sysfs), so devices we may not open are still listed; report lengths
// come from the sysfs report descriptor. A libudev monitor on the hidraw subsystem, read on
// the owner's thread, reports arrival and removal.
class HidapiBackend : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

    bool available() const override { return initialised; }
    std::vector<HidPnPInfo> enumerate() override;
    std::unique_ptr<HidConnection> open(const std::string& path, HidAccess access,
                                        int& error) override;
    // Arrival and removal are followed live.
    bool watching() const { return notifier != nullptr; }

    // Everything the enumeration told about one device.
    struct Record {
        HidAttributes attributes;
        std::optional<std::u16string> product;
        std::optional<std::u16string> serial;
        HidReportLengths lengths{65, 65};
        bool numbered = false;
    };

private:
    void startMonitor();
    void drainMonitor();

    bool initialised = false;
    std::mutex mutex; // the records are read by read threads opening their handles
    std::map<std::string, Record> records;
    udev* udevContext = nullptr;
    udev_monitor* monitor = nullptr;
    std::unique_ptr<QSocketNotifier> notifier;
};

} // namespace m7410
