// One prepared frame per parameter group, overwritten by its builder until it leaves.
#pragma once

#include "protocol/PendingRaiser.h"

#include <array>
#include <cstdint>

namespace m7410 {

inline constexpr std::size_t ParameterFrameSize = 20;
using ParameterFrame = std::array<uint8_t, ParameterFrameSize>;

// One 20-byte frame per parameter group, kept for the whole run and overwritten by its
// builder, so a group queued twice before it leaves goes out once with the later contents.
class PreparedFrames {
public:
    const ParameterFrame& frame(int pendingMessage) const { return frames.at(pendingMessage); }
    ParameterFrame& frame(int pendingMessage) { return frames.at(pendingMessage); }

private:
    std::array<ParameterFrame, PendingSlotCount + 1> frames{};
};

} // namespace m7410
