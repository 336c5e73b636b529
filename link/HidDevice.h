// One present HID interface, lent out by the controller and read through a data handler.
#pragma once

#include "link/HidBackend.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace m7410 {

class HidDeviceController;
class HidDeviceReadThread;

// One present HID interface. Made by the controller; the application checks it out, reads it
// through a data handler and gives it back with HidDeviceController::ReleaseDevice.
class HidDevice {
public:
    // Data points at the Size report bytes after the report id.
    using DataHandler =
        std::function<void(HidDevice* dev, uint8_t reportId, const uint8_t* data, uint16_t size)>;
    using DataErrorHandler = std::function<void(HidDevice* dev, int error)>;
    using UnplugHandler = std::function<void(HidDevice* dev)>;

    static constexpr int DefaultWaitSlice = 100;
    static constexpr int MaxTextLength = 254;

    ~HidDevice();
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    const HidPnPInfo& pnpInfo() const { return pnp; }
    uint16_t vendorId() const { return identity.vendorId; }
    uint16_t productId() const { return identity.productId; }
    uint16_t version() const { return identity.version; }
    bool isPluggedIn() const { return pluggedIn; }
    bool isCheckedOut() const { return checkedOut; }
    bool isReading() const;
    // Why the device found no read-write handle when it was found (EACCES: this user may not
    // open it); 0 when it had one.
    int openError() const { return accessError; }

    QString ProductText();
    QString SerialText();
    HidReportLengths ReportCaps();
    // Writes count bytes, report id first; false when the device is not accessible or the
    // write fails, with the reason in lastError().
    bool WriteReport(const uint8_t* buffer, std::size_t count, int& written);
    int lastError() const { return error; }

    // An empty handler stops reading; a set one starts it when the device may be read.
    void SetDataHandler(DataHandler handler);
    const DataHandler& dataHandler() const { return onData; }
    void setDataErrorHandler(DataErrorHandler handler);
    void setUnplugHandler(UnplugHandler handler);

    int waitSlice() const { return slice; }
    // Refused (false, old value kept) outside 10..10000 ms.
    bool setWaitSlice(int ms);

    // Whether the serial string is taken as the serial text: a device that answers the serial
    // request with its language list (string descriptor 0) has none. When the language list
    // cannot be read there is nothing to mistake the serial for.
    static bool serialAccepted(const std::u16string& serial,
                               const std::optional<std::u16string>& descriptor0);

private:
    friend class HidDeviceController;
    friend class HidDeviceReadThread;

    HidDevice(HidBackend& backend, HidPnPInfo pnp);
    // Nothing when the device cannot be opened or identified (reason in *why).
    static std::unique_ptr<HidDevice> create(HidBackend& backend, const HidPnPInfo& pnp,
                                             QString* why);

    bool accessible() const { return pluggedIn && (checkedOut || enumerating); }
    HidConnection* handle();
    void closeHandles();
    void markUnplugged();
    void applyDataHandler(DataHandler handler);
    void startReadingIfReady();
    void stopReading();
    void deliverReport(const uint8_t* report, int count);
    void deliverError(int code);

    HidBackend& backend;
    const HidPnPInfo pnp;
    std::atomic<bool> pluggedIn{true};
    std::atomic<bool> checkedOut{false};
    std::atomic<bool> enumerating{false};
    HidAttributes identity;
    std::unique_ptr<HidConnection> readWrite;
    bool readWriteAccess = false;
    int accessError = 0;
    std::unique_ptr<HidConnection> pushedInput;
    QString productText;
    QString serialText;
    int slice = DefaultWaitSlice;
    int error = 0;

    DataHandler onData;
    DataErrorHandler onDataError;
    UnplugHandler onUnplug;
    // Still the controller's handler, so a new controller handler replaces it.
    bool dataFromController = true;
    bool dataErrorFromController = true;
    bool unplugFromController = true;

    std::unique_ptr<HidDeviceReadThread> readThread;
};

} // namespace m7410
