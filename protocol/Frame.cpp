#include "protocol/Frame.h"

#include <algorithm>

namespace m7410 {

uint8_t frameChecksum(const uint8_t* frame, std::size_t dataLength) {
    uint8_t x = 0;
    for (std::size_t i = 3; i < FrameHeaderSize + dataLength; ++i)
        x ^= frame[i];
    return x;
}

Bytes buildFrame(uint8_t device, uint8_t kind, uint8_t argument, uint8_t code, uint8_t subCode,
                 const uint8_t* data, std::size_t dataLength) {
    Bytes f(FrameOverhead + dataLength, 0);
    f[0] = f[1] = f[2] = StartMarker;
    f[3] = device;
    f[4] = kind;
    f[5] = argument;
    f[6] = code;
    f[7] = subCode;
    f[8] = highByte(static_cast<int32_t>(dataLength));
    f[9] = lowByte(static_cast<int32_t>(dataLength));
    if (dataLength > 0) std::copy_n(data, dataLength, f.begin() + FrameHeaderSize);
    f[FrameHeaderSize + dataLength] = frameChecksum(f.data(), dataLength);
    f[FrameHeaderSize + dataLength + 1] = EndMarker;
    return f;
}

Bytes buildRequest(uint8_t device, uint8_t argument, uint8_t code) {
    return buildFrame(device, KindRequest, argument, code, 0, nullptr, 0);
}

Bytes statusRequest(uint8_t device) {
    return buildRequest(device, 0, CodeStatus);
}

Bytes systemRecordRequest(uint8_t device) {
    const uint8_t zeros[8] = {};
    return buildFrame(device, KindRequest, 0, CodeSystemRecord, 0, zeros, sizeof zeros);
}

Bytes namesReadRequest(uint8_t device) {
    return buildRequest(device, 0, CodeNames);
}
Bytes currentBlockReadRequest(uint8_t device) {
    return buildRequest(device, 0, CodeCurrentBlock);
}

Bytes presetRecallRequest(uint8_t device, int slot) {
    return buildRequest(device, static_cast<uint8_t>(slot), CodeCurrentBlock);
}

Bytes presetReadRequest(uint8_t device, int slot) {
    return buildRequest(device, static_cast<uint8_t>(slot), CodePresetBlock);
}

Bytes presetNameWrite(uint8_t device, int slot, std::string_view name) {
    uint8_t data[PresetNameBytes] = {};
    std::copy_n(name.begin(), std::min(name.size(), PresetNameBytes), data);
    return buildFrame(device, KindWrite, static_cast<uint8_t>(slot), CodePresetName, 0, data,
                      sizeof data);
}

} // namespace m7410
