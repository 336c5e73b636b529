#include "protocol/ParameterBlock.h"

#include "protocol/Frame.h"
#include "protocol/ParameterGroup.h"
#include "support/HexText.h"

#include <algorithm>

namespace m7410 {

std::optional<BlockData> blockDataFromText(std::string_view text) {
    if (text.size() < 2 * (FrameHeaderSize + BlockSize)) return std::nullopt;
    BlockData block{};
    for (std::size_t n = 0; n < BlockSize; ++n) {
        const int v = hexByteAt(text, 2 * (FrameHeaderSize + n));
        if (v < 0) return std::nullopt;
        block[n] = static_cast<uint8_t>(v);
    }
    return block;
}

void decodeBlock(const BlockData& block, ChannelModel& model) {
    for (const ParameterGroup& g : allParameterGroups())
        decodeGroup(model, g, block.data() + addressOf(g).blockOffset);
    model.clampToTables();
}

int limitBlock(BlockData& block) {
    ChannelModel model;
    for (const ParameterGroup& g : allParameterGroups())
        decodeGroup(model, g, block.data() + addressOf(g).blockOffset);
    const int changed = model.clampToTables();
    if (changed > 0) block = encodeBlock(model, block);
    return changed;
}

std::string decodeName(const uint8_t* bytes, std::size_t size) {
    std::string name;
    for (std::size_t i = 0; i < size && bytes[i] != 0; ++i)
        name += static_cast<char>(bytes[i]);
    return name;
}

std::string blockName(const BlockData& block) {
    return decodeName(block.data() + BlockNameOffset, BlockNameSize);
}

BlockData encodeBlock(const ChannelModel& model, const BlockData& base) {
    BlockData block = base;
    for (const ParameterGroup& g : allParameterGroups()) {
        const GroupBytes bytes = encodeGroup(model, g);
        uint8_t* at = block.data() + addressOf(g).blockOffset;
        // Only the bytes the group carries; the unit's own bytes in between stay as they are.
        for (std::size_t i = 0; i < GroupBytesSize; ++i) {
            if (groupByteIsField(g.kind, i)) at[i] = bytes[i];
        }
    }
    return block;
}

void setBlockName(BlockData& block, std::string_view name) {
    std::fill_n(block.begin() + BlockNameOffset, BlockNameSize, 0);
    std::copy_n(name.begin(), std::min(name.size(), BlockNameSize),
                block.begin() + BlockNameOffset);
}

uint8_t blockChecksumStart(BlockTarget target, uint8_t device) {
    return frameChecksum(blockWriteHeader(target, device).data(), 0);
}

std::array<uint8_t, 10> blockWriteHeader(BlockTarget target, uint8_t device) {
    const uint8_t code = target.isPreset() ? CodePresetBlock : CodeCurrentBlock;
    return {StartMarker,
            StartMarker,
            StartMarker,
            device,
            KindWrite,
            static_cast<uint8_t>(target.slot),
            code,
            0,
            highByte(BlockSize),
            lowByte(BlockSize)};
}

BlockImage buildWriteImage(const BlockData& block, BlockTarget target, uint8_t device) {
    BlockImage image{};
    std::copy(block.begin(), block.end(), image.begin());
    uint8_t x = blockChecksumStart(target, device);
    for (uint8_t b : block)
        x ^= b;
    image[BlockSize] = x;
    image[BlockSize + 1] = EndMarker;
    return image;
}

} // namespace m7410
