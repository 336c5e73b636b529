#include "link/ReportDescriptor.h"

#include <algorithm>
#include <map>
#include <vector>

namespace m7410 {

namespace {

enum ItemType { Main = 0, Global = 1 };
enum MainTag { Input = 0x8, Output = 0x9 };
enum GlobalTag { ReportSize = 0x7, ReportId = 0x8, ReportCount = 0x9, Push = 0xA, Pop = 0xB };

struct Globals {
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint32_t reportId = 0;
};

// Lengths beyond any real device are cut, so a hostile descriptor cannot overflow them.
int bytesWithId(uint64_t bits) {
    constexpr uint64_t maxBytes = 1u << 20;
    return static_cast<int>(std::min(bits / 8 + (bits % 8 != 0), maxBytes)) + 1;
}

} // namespace

std::optional<ReportDescriptor> ReportDescriptor::parse(const uint8_t* bytes, std::size_t size) {
    Globals globals;
    std::vector<Globals> stack;
    std::map<uint32_t, uint64_t> inputBits;
    std::map<uint32_t, uint64_t> outputBits;
    bool numbered = false;
    std::size_t pos = 0;
    while (pos < size) {
        const uint8_t prefix = bytes[pos++];
        if (prefix == 0xFE) { // long item: size, tag, data
            if (pos + 2 > size) return std::nullopt;
            const std::size_t dataSize = bytes[pos];
            pos += 2 + dataSize;
            if (pos > size) return std::nullopt;
            continue;
        }
        const std::size_t dataSize = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (pos + dataSize > size) return std::nullopt;
        uint32_t value = 0;
        for (std::size_t i = 0; i < dataSize; ++i)
            value |= uint32_t{bytes[pos + i]} << (8 * i);
        pos += dataSize;
        const int type = (prefix >> 2) & 3;
        const int tag = prefix >> 4;
        const uint64_t bits = uint64_t{globals.reportSize} * globals.reportCount;
        if (type == Main && tag == Input) inputBits[globals.reportId] += bits;
        if (type == Main && tag == Output) outputBits[globals.reportId] += bits;
        if (type != Global) continue;
        switch (tag) {
        case ReportSize:
            globals.reportSize = value;
            break;
        case ReportCount:
            globals.reportCount = value;
            break;
        case ReportId:
            globals.reportId = value;
            numbered = true;
            break;
        case Push:
            stack.push_back(globals);
            break;
        case Pop:
            if (stack.empty()) return std::nullopt;
            globals = stack.back();
            stack.pop_back();
            break;
        default:
            break;
        }
    }
    ReportDescriptor descriptor;
    descriptor.numbered = numbered;
    for (const auto& [id, bits] : inputBits) {
        descriptor.lengths.input = std::max(descriptor.lengths.input, bytesWithId(bits));
    }
    for (const auto& [id, bits] : outputBits) {
        descriptor.lengths.output = std::max(descriptor.lengths.output, bytesWithId(bits));
    }
    return descriptor;
}

} // namespace m7410
