// Whether bytes sent by either side form well-formed frames, for the fuzz targets.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace m7410::fuzz {

// What one side may send: its frame kinds and the data lengths it uses.
struct FrameRules {
    std::vector<uint8_t> kinds;
    std::vector<std::size_t> lengths;
};
inline const FrameRules PcFrames{{0xA1, 0xA2}, {0, 8, 20, 320}};
inline const FrameRules UnitFrames{{0x52, 0x51}, {0, 8, 320, 400}};

// Why the bytes, joined in order, are not a sequence of well-formed frames to or from device 0
// under the rules; empty when they are. A block write goes out as a header and an image written
// apart, and joined they are one frame, so the check does not care how the bytes were cut.
inline std::string frameStreamFault(const std::vector<uint8_t>& bytes, const FrameRules& rules) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::string at = " at byte " + std::to_string(pos);
        if (bytes.size() - pos < 12) return "frame cut short" + at;
        const uint8_t* f = bytes.data() + pos;
        if (f[0] != 0xA5 || f[1] != 0xA5 || f[2] != 0xA5) return "no start marker" + at;
        if (f[3] != 0) return "device number not 0" + at;
        if (std::find(rules.kinds.begin(), rules.kinds.end(), f[4]) == rules.kinds.end())
            return "frame kind not sent by this side" + at;
        const std::size_t n = std::size_t(f[8]) << 8 | f[9];
        if (std::find(rules.lengths.begin(), rules.lengths.end(), n) == rules.lengths.end())
            return "data length not in use" + at;
        if (bytes.size() - pos < n + 12) return "frame cut short" + at;
        uint8_t sum = 0;
        for (std::size_t i = 3; i < 10 + n; ++i)
            sum ^= f[i];
        if (f[10 + n] != sum) return "wrong checksum" + at;
        if (f[11 + n] != 0xAA) return "no end marker" + at;
        pos += n + 12;
    }
    return {};
}

// The application's frames to the unit.
inline std::string outboundFault(const std::vector<uint8_t>& sent) {
    return frameStreamFault(sent, PcFrames);
}

} // namespace m7410::fuzz
