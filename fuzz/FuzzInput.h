// Drawing choices and payloads from a fuzzer's input, shared by the fuzz targets.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace m7410::fuzz {

// Draws choices and payloads from a fuzzer's input, front to back. Once the input is used up
// every draw gives zeros or nothing, so a target never reads past it.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, std::size_t size) : data(data), size(size) {}

    bool empty() const { return pos >= size; }
    std::size_t remaining() const { return size - pos; }

    uint8_t byte() { return empty() ? 0 : data[pos++]; }
    uint16_t word() {
        const uint16_t high = byte();
        return static_cast<uint16_t>(high << 8 | byte());
    }
    // Up to n bytes, fewer when the input ends first.
    std::vector<uint8_t> take(std::size_t n) {
        n = std::min(n, remaining());
        std::vector<uint8_t> out(data + pos, data + pos + n);
        pos += n;
        return out;
    }
    std::vector<uint8_t> rest() { return take(remaining()); }

private:
    const uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
};

} // namespace m7410::fuzz
