// The frame layout every exchange uses, and the requests and writes built on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The one frame layout every exchange uses: A5 A5 A5, device number, kind, argument, code,
// sub-code, 16-bit big-endian length, data, XOR checksum, AA.
namespace m7410 {

using Bytes = std::vector<uint8_t>;

inline constexpr uint8_t StartMarker = 0xA5;
inline constexpr uint8_t EndMarker = 0xAA;
inline constexpr std::size_t FrameHeaderSize = 10;
inline constexpr std::size_t FrameOverhead = 12;

enum FrameKind : uint8_t {
    KindWrite = 0xA1,
    KindRequest = 0xA2,
    KindReply = 0x52,
    KindAck = 0x51,
};

enum CommandCode : uint8_t {
    CodeSystemRecord = 0x21,
    CodeNames = 0x26,
    CodePresetName = 0x27,
    CodeCurrentBlock = 0x28,
    CodePresetBlock = 0x29,
    CodeStatus = 0x2B,
};

inline constexpr int PresetSlotCount = 20;
inline constexpr std::size_t PresetNameBytes = 20;

// XOR of bytes 3 .. 9 + n of a frame whose data length is n (header included, markers not).
uint8_t frameChecksum(const uint8_t* frame, std::size_t dataLength);

Bytes buildFrame(uint8_t device, uint8_t kind, uint8_t argument, uint8_t code, uint8_t subCode,
                 const uint8_t* data, std::size_t dataLength);
// A 12-byte request without data.
Bytes buildRequest(uint8_t device, uint8_t argument, uint8_t code);

Bytes statusRequest(uint8_t device);
Bytes systemRecordRequest(uint8_t device);
Bytes namesReadRequest(uint8_t device);
Bytes currentBlockReadRequest(uint8_t device);
Bytes presetRecallRequest(uint8_t device, int slot);
Bytes presetReadRequest(uint8_t device, int slot);
// Slot 0 renames the set in force. The name is cut to 20 bytes and zero-padded.
Bytes presetNameWrite(uint8_t device, int slot, std::string_view name);

inline uint8_t lowByte(int32_t v) {
    return static_cast<uint8_t>(v & 0xFF);
}
inline uint8_t highByte(int32_t v) {
    return static_cast<uint8_t>((v >> 8) & 0xFF);
}
inline int32_t word(uint8_t low, uint8_t high) {
    return low + 256 * high;
}

} // namespace m7410
