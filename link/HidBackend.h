// The platform's HID stack as the controller sees it: enumeration, open handles, report lengths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace m7410 {

// One present HID interface as an enumeration reports it.
struct HidPnPInfo {
    // Stays the same for one plugged-in device across scans and changes when it is plugged in
    // again, so a scan can tell a device that stayed from one that came back.
    std::string instanceKey;
    // What open() takes.
    std::string path;
};

struct HidAttributes {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0;
};

// Report lengths as written and read, each counting the report id byte.
struct HidReportLengths {
    int input = 0;
    int output = 0;
};

enum class HidAccess {
    ReadWrite, // identification, strings, writes
    ReadOnly,  // the read thread's handle
    None,      // identification only, for devices we may not read or write
};

// An open handle on one device. write() runs on the owner's thread; read() of a read-only
// handle runs on that device's read thread. Error codes are errno values.
class HidConnection {
public:
    virtual ~HidConnection() = default;
    virtual std::optional<HidAttributes> attributes() = 0;
    virtual HidReportLengths reportLengths() = 0;
    // Strings as UTF-16 words; nothing when the device cannot give them.
    virtual std::optional<std::u16string> productString() = 0;
    virtual std::optional<std::u16string> serialString() = 0;
    // String descriptor 0 is the device's language list.
    virtual std::optional<std::u16string> indexedString(int index) = 0;
    // Writes one output report, report id first. Bytes written, or -1 (see lastError()).
    virtual int write(const uint8_t* report, std::size_t size) = 0;
    // Reads one input report, report id first, waiting at most timeoutMs. Bytes read, 0 when
    // nothing came in time, -1 on failure (see lastError()).
    virtual int read(uint8_t* report, std::size_t size, int timeoutMs) = 0;
    virtual int lastError() const = 0;

    // Only for backends that push input (see HidBackend::pushesInput): the handler gets each
    // input report, report id first, on the owner's thread.
    virtual void setInputHandler(std::function<void(const uint8_t*, std::size_t)> /*handler*/) {}
};

// The platform's HID stack as the controller sees it.
class HidBackend {
public:
    virtual ~HidBackend() = default;
    // False when the HID services could not be bound: nothing is ever found.
    virtual bool available() const = 0;
    virtual std::vector<HidPnPInfo> enumerate() = 0;
    // Nothing on failure, with the errno value in error. May be called from a read thread.
    virtual std::unique_ptr<HidConnection> open(const std::string& path, HidAccess access,
                                                int& error) = 0;
    // True when read-only connections deliver input reports themselves, on the owner's thread,
    // instead of being read by a thread: virtual devices that live on virtual time.
    virtual bool pushesInput() const { return false; }

    // Called on the owner's thread whenever devices may have come or gone.
    std::function<void()> onChange;

protected:
    void notifyChange() {
        if (onChange) onChange();
    }
};

} // namespace m7410
