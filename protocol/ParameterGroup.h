// The 35 groups of 8 bytes the parameter set travels in, and their addresses.
#pragma once

#include "model/ChannelModel.h"

#include <array>
#include <cstdint>

// The channel model travels in 35 groups of 8 bytes: each parameter write carries one, and the
// 320-byte block is the same groups in address order.
namespace m7410 {

inline constexpr int ParameterGroupCount = 35;
inline constexpr std::size_t GroupBytesSize = 8;
using GroupBytes = std::array<uint8_t, GroupBytesSize>;

enum class GroupKind { OutputBasic, Crossover, Limiter, EqBand, MainBasic };

struct ParameterGroup {
    GroupKind kind;
    int channel; // 0..3
    int band;    // global band 0..23 for EqBand, else -1

    bool operator==(const ParameterGroup&) const = default;
};

struct GroupAddress {
    uint8_t code;
    uint8_t subCode;
    int pendingMessage; // slot of the send scheduler, 1..36 (29 unused)
    int blockOffset;    // first data byte within the 320-byte block
};

// All 35 groups in address order, which is also their order in the block.
const std::array<ParameterGroup, ParameterGroupCount>& allParameterGroups();
GroupAddress addressOf(const ParameterGroup& group);
// The group a parameter write addresses, or false when (code, sub-code) names none.
bool groupAt(uint8_t code, uint8_t subCode, ParameterGroup& out);

ParameterGroup basicGroup(int channel); // channel 3 gives the Main basic group
ParameterGroup crossoverGroup(int channel);
ParameterGroup limiterGroup(int channel);
ParameterGroup eqBandGroup(int band);

// Whether byte i of a group of this kind carries a field (the others are sent as zero).
bool groupByteIsField(GroupKind kind, std::size_t i);

// The group's eight bytes from the model; bytes the group does not use are zero.
GroupBytes encodeGroup(const ChannelModel& model, const ParameterGroup& group);
// Reads the group's fields from eight bytes; unused bytes are ignored. No clamping.
void decodeGroup(ChannelModel& model, const ParameterGroup& group, const uint8_t* bytes);

} // namespace m7410
