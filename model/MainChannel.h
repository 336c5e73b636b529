// The input channel ("Main"): volume, polarity, delay, crossover and EQ bands.
#pragma once

#include "model/Crossover.h"
#include "model/EqBand.h"

#include <array>
#include <cstdint>

namespace m7410 {

inline constexpr int32_t VolumeMax = 301;
inline constexpr int32_t MainDelayMax = 240;

// The input channel: no gain, mute or limiter; a master volume and one byte the unit keeps
// that nothing here edits but that must go back unchanged.
struct MainChannel {
    int32_t mainReserved = 0;
    int32_t volume = 0;
    int32_t delay = 0;
    int32_t phaseInvert = 0;
    Crossover crossover;
    std::array<EqBand, EqRowsPerChannel> eq{};

    bool operator==(const MainChannel&) const = default;
};

} // namespace m7410
