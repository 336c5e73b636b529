#include "sim/SimUnit.h"

#include "protocol/ParameterGroup.h"

#include <algorithm>

namespace m7410::sim {

namespace {

constexpr std::size_t NamesDataSize = SlotCount * PresetNameBytes; // 400
constexpr std::size_t SystemRecordDataSize = 8;

int key(uint8_t kind, uint8_t code) {
    return kind << 8 | code;
}

bool isSlot(int n) {
    return n >= 1 && n <= SlotCount;
}

std::size_t lengthOf(const uint8_t* f) {
    return static_cast<std::size_t>(word(f[9], f[8]));
}

} // namespace

SimUnit::SimUnit() : current(factoryCurrentSet()), presetSlots(factoryPresets()) {}

const BlockData& SimUnit::preset(int n) const {
    return presetSlots.at(static_cast<std::size_t>(n - 1));
}

void SimUnit::setPreset(int n, const BlockData& block) {
    presetSlots.at(static_cast<std::size_t>(n - 1)) = block;
}

std::string SimUnit::presetName(int n) const {
    return blockName(preset(n));
}

int SimUnit::framesReceived(uint8_t kind, uint8_t code) const {
    const auto it = received.find(key(kind, code));
    return it == received.end() ? 0 : it->second;
}

int SimUnit::repliesSent(uint8_t code) const {
    const auto it = replies.find(code);
    return it == replies.end() ? 0 : it->second;
}

void SimUnit::noteMalformed(std::string_view why, const uint8_t* bytes, std::size_t size) {
    ++malformed;
    lastReason = why;
    if (onMalformed) onMalformed(Bytes(bytes, bytes + size), why);
}

std::vector<Bytes> SimUnit::receiveFrame(const uint8_t* f, std::size_t size) {
    const std::string why = check(f, size);
    if (!why.empty()) {
        noteMalformed(why, f, size);
        return {};
    }
    ++validFrames;
    ++received[key(f[4], f[6])];
    log.emplace_back(f, f + size);
    if (onFrameReceived) onFrameReceived(log.back());
    std::vector<Bytes> out = handle(f, size);
    std::erase_if(out, [this](const Bytes& r) { return !keepReply(r[6]); });
    for (const Bytes& r : out) {
        ++replies[r[6]];
        if (onReplySent) onReplySent(r);
    }
    return out;
}

std::string SimUnit::check(const uint8_t* f, std::size_t size) const {
    if (size < FrameOverhead) return "short frame";
    if (f[0] != StartMarker || f[1] != StartMarker || f[2] != StartMarker) return "no start marker";
    if (f[3] != DeviceNumber) return "wrong device number";
    const std::size_t n = lengthOf(f);
    if (size != n + FrameOverhead) return "length field does not match the frame";
    if (f[size - 1] != EndMarker) return "no end marker";
    if (f[size - 2] != frameChecksum(f, n)) return "bad checksum";

    const uint8_t kind = f[4];
    const int arg = f[5];
    const uint8_t code = f[6];
    const uint8_t sub = f[7];
    const uint8_t* data = f + FrameHeaderSize;
    if (kind == KindRequest) {
        if (sub != 0) return "request with a sub-code";
        switch (code) {
        case CodeStatus:
        case CodeNames:
            return arg == 0 && n == 0 ? "" : "bad status or names request";
        case CodeSystemRecord:
            if (arg != 0 || n != SystemRecordDataSize) return "bad system-record request";
            return std::all_of(data, data + n, [](uint8_t b) { return b == 0; })
                       ? ""
                       : "system-record request with data";
        case CodeCurrentBlock:
            return n == 0 && (arg == 0 || isSlot(arg)) ? "" : "bad block read or recall";
        case CodePresetBlock:
            return n == 0 && isSlot(arg) ? "" : "bad preset read";
        default:
            return "unknown request";
        }
    }
    if (kind == KindWrite) {
        switch (code) {
        case CodePresetName:
            return sub == 0 && n == PresetNameBytes && arg <= SlotCount ? "" : "bad name write";
        case CodeCurrentBlock:
            return sub == 0 && n == BlockSize && arg == 0 ? "" : "bad current-set write";
        case CodePresetBlock:
            return sub == 0 && n == BlockSize && isSlot(arg) ? "" : "bad preset write";
        default: {
            ParameterGroup g;
            if (!groupAt(code, sub, g)) return "unknown write";
            return arg == 0 && n == GroupBytesSize ? "" : "bad parameter write";
        }
        }
    }
    return "unknown kind";
}

std::vector<Bytes> SimUnit::handle(const uint8_t* f, std::size_t size) {
    const uint8_t kind = f[4];
    const uint8_t arg = f[5];
    const uint8_t code = f[6];
    const uint8_t* data = f + FrameHeaderSize;
    (void)size;

    if (kind == KindRequest) {
        switch (code) {
        case CodeStatus: {
            const uint8_t d[8] = {statusByte};
            return {reply(0, CodeStatus, d, sizeof d)};
        }
        case CodeSystemRecord: {
            const uint8_t d[SystemRecordDataSize] = {static_cast<uint8_t>(presetNumber)};
            return {reply(0, CodeSystemRecord, d, sizeof d)};
        }
        case CodeNames:
            return {namesReply()};
        case CodeCurrentBlock:
            if (arg != 0) { // a recall: the slot becomes the set in force
                current = preset(arg);
                presetNumber = arg;
            }
            return {reply(arg, CodeCurrentBlock, current.data(), current.size())};
        default: { // CodePresetBlock
            const BlockData& b = preset(arg);
            return {reply(arg, CodePresetBlock, b.data(), b.size())};
        }
        }
    }

    switch (code) {
    case CodePresetName:
        storeName(arg, data);
        return {buildFrame(DeviceNumber, KindAck, 0, 0, 0, nullptr, 0)};
    case CodeCurrentBlock:
        std::copy_n(data, BlockSize, current.begin());
        return {};
    case CodePresetBlock:
        std::copy_n(data, BlockSize, presetSlots[arg - 1].begin());
        // The first output's gain byte: a field every read-back compares.
        if (arg == faultSettings.corruptPresetWrite) presetSlots[arg - 1][0] ^= 0x01;
        return {};
    default: {
        ParameterGroup g;
        groupAt(code, f[7], g);
        uint8_t* at = current.data() + addressOf(g).blockOffset;
        // Bytes the group does not carry are the unit's own and stay as they are.
        for (std::size_t i = 0; i < GroupBytesSize; ++i) {
            if (groupByteIsField(g.kind, i)) at[i] = data[i];
        }
        return {};
    }
    }
}

void SimUnit::storeName(int slot, const uint8_t* name) {
    // Slot 0 renames the set in force; a slot number stores the set in force there.
    std::copy_n(name, BlockNameSize, current.begin() + BlockNameOffset);
    if (isSlot(slot)) {
        presetSlots[slot - 1] = current;
        presetNumber = slot;
    }
}

Bytes SimUnit::reply(uint8_t argument, uint8_t code, const uint8_t* data, std::size_t size) const {
    return buildFrame(DeviceNumber, KindReply, argument, code, 0, data, size);
}

Bytes SimUnit::namesReply() const {
    std::array<uint8_t, NamesDataSize> names{};
    for (int k = 0; k < SlotCount; ++k) {
        std::copy_n(presetSlots[k].begin() + BlockNameOffset, PresetNameBytes,
                    names.begin() + k * PresetNameBytes);
    }
    return reply(0, CodeNames, names.data(), names.size());
}

bool SimUnit::keepReply(uint8_t code) {
    if (faultSettings.silent) return false;
    if (code == CodeNames && !faultSettings.answerNames) return false;
    const auto it = faultSettings.drop.find(code);
    if (it != faultSettings.drop.end() && it->second > 0) {
        --it->second;
        return false;
    }
    return true;
}

} // namespace m7410::sim
