// The unit's whole parameter set as a 320-byte block: encoding, decoding, the preset name.
#pragma once

#include "model/ChannelModel.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The unit's whole parameter set as a 320-byte block: the 35 groups in address order, 20
// bytes nobody here reads (carried unchanged), and the 20-byte preset name.
namespace m7410 {

inline constexpr std::size_t BlockSize = 320;
inline constexpr std::size_t BlockFrameSize = 332;
inline constexpr std::size_t BlockTextLength = 664;
inline constexpr std::size_t BlockImageSize = 322;
inline constexpr std::size_t BlockNameOffset = 300;
inline constexpr std::size_t BlockNameSize = 20;

using BlockData = std::array<uint8_t, BlockSize>;
using BlockImage = std::array<uint8_t, BlockImageSize>;

// Where a whole block goes: slot 0 is the set in force, 1..20 a preset slot.
struct BlockTarget {
    int slot = 0;
    static BlockTarget currentSet() { return {0}; }
    static BlockTarget preset(int n) { return {n}; }
    bool isPreset() const { return slot != 0; }
};

// The 320 data bytes of a 664-character block frame text (characters 21..660); header,
// checksum and end marker are ignored. Nothing when the text is too short or not hex.
std::optional<BlockData> blockDataFromText(std::string_view blockText);

// Reads every field into the model and limits the indexed ones to their tables.
void decodeBlock(const BlockData& block, ChannelModel& model);
// Limits the block's indexed fields as decodeBlock does and writes them back, so the block
// holds the set the window shows; every other byte stays. Returns how many fields changed.
int limitBlock(BlockData& block);
// A name field: one character per byte up to the first zero byte.
std::string decodeName(const uint8_t* bytes, std::size_t size);
std::string blockName(const BlockData& block);

// The model's groups written over a copy of base, so the bytes no group carries keep their
// values; the name is left as base holds it.
BlockData encodeBlock(const ChannelModel& model, const BlockData& base);
void setBlockName(BlockData& block, std::string_view name);

uint8_t blockChecksumStart(BlockTarget target, uint8_t device);
// The header sent on its own before the image: A5 A5 A5, device, A1, argument, code, 00, 01, 40.
std::array<uint8_t, 10> blockWriteHeader(BlockTarget target, uint8_t device);
// The 320 data bytes, the checksum over header and data, and AA.
BlockImage buildWriteImage(const BlockData& block, BlockTarget target, uint8_t device);

} // namespace m7410
