// The preset slots of a simulated unit as it leaves the factory.
#pragma once

#include "protocol/ParameterBlock.h"

#include <array>

namespace m7410::sim {

inline constexpr int SlotCount = 20;
using PresetSlots = std::array<BlockData, SlotCount>;

// What a unit holds when it leaves the factory: slot 1 is the model's start values ("Flat"),
// the others distinct but plausible sets, each under its own name.
PresetSlots factoryPresets();
// The set in force at power-up: a copy of slot 1.
BlockData factoryCurrentSet();

} // namespace m7410::sim
