// Report lengths of a HID device, read from its report descriptor.
#pragma once

#include "link/HidBackend.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace m7410 {

// What the report lengths of a device are, read from its HID report descriptor.
struct ReportDescriptor {
    // Longest input and output report, each with its report id byte (a device without
    // numbered reports still gets the 0 byte in front).
    HidReportLengths lengths;
    // The device numbers its reports: reads then start with the report id already.
    bool numbered = false;

    // Nothing when the descriptor is cut off or malformed.
    static std::optional<ReportDescriptor> parse(const uint8_t* bytes, std::size_t size);
};

} // namespace m7410
