// In-memory HID devices for tests and the demo, plugged and unplugged on demand.
#pragma once

#include "link/HidBackend.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace m7410 {

// What a virtual HID device shows of itself.
struct VirtualHidDeviceInfo {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0x0100;
    std::optional<std::u16string> product;
    std::optional<std::u16string> serial;
    // String descriptor 0: the language list (US English unless told otherwise).
    std::optional<std::u16string> languages = std::u16string(1, char16_t{0x0409});
    HidReportLengths lengths{65, 65};
    // False: opens for identification only, like a device we have no permission for.
    bool readWrite = true;
    // False: its attributes cannot be read, so scans leave it out.
    bool identifiable = true;
};

// In-memory HID devices for tests and the demo: the simulated unit's HID face next to
// unrelated devices, plugged and unplugged on demand. Reads go through the real read thread,
// or, with threaded reads off, each input report is delivered at once on the caller's thread,
// which suits flows on virtual time.
class VirtualHidBackend : public HidBackend {
public:
    // Gets each output report written to the device, report id first, on the writer's thread.
    using OutputHandler = std::function<void(const uint8_t* report, std::size_t size)>;

    VirtualHidBackend();
    ~VirtualHidBackend() override;
    VirtualHidBackend(const VirtualHidBackend&) = delete;
    VirtualHidBackend& operator=(const VirtualHidBackend&) = delete;

    bool available() const override { return true; }
    std::vector<HidPnPInfo> enumerate() override;
    std::unique_ptr<HidConnection> open(const std::string& path, HidAccess access,
                                        int& error) override;
    bool pushesInput() const override { return !threaded; }
    void setThreadedReads(bool on) { threaded = on; }

    // Plugs a device in and notifies; answers its key (a new one for every plug).
    std::string plug(const VirtualHidDeviceInfo& info, OutputHandler onOutput = {});
    void unplug(const std::string& key);
    // One input report of the device as it would come off the wire, without the report id:
    // the device uses none, so readers see 0 before it. Dropped when nobody reads.
    void sendInput(const std::string& key, const uint8_t* data, std::size_t size);
    // The next count writes (or reads) of the device fail with this errno value.
    void failWrites(const std::string& key, int error, int count = 1);
    void failReads(const std::string& key, int error, int count = 1);

    // Processes events until a read handle of the device is open (the read thread has
    // started); false when none opened within the time.
    bool waitForReader(const std::string& key, int timeoutMs = 2000);
    // Processes events until every input report sent has been read and handed over.
    bool settle(int timeoutMs = 2000);
    int openReaders(const std::string& key) const;

    struct Registry;

private:
    std::shared_ptr<Registry> registry;
    bool threaded = true;
    int plugs = 0;
};

} // namespace m7410
