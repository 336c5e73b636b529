// One output channel: gain, mute, polarity, delay, limiter, crossover and EQ bands.
#pragma once

#include "model/Crossover.h"
#include "model/EqBand.h"

#include <array>
#include <cstdint>

namespace m7410 {

inline constexpr int OutputChannelCount = 3;
inline constexpr int MainChannelIndex = 3;
inline constexpr int ChannelCount = 4;
// Channel 2 is the first output row ("High"): typed, stepped, applied and received gains stop
// at 0.0 dB there; only its fader knob reaches the top of the scale.
inline constexpr int LimitedGainChannel = 2;
inline constexpr int32_t GainIndexMax = 250;
inline constexpr int32_t GainIndexZeroDb = 200;
inline constexpr int32_t OutputDelayMax = 464;

struct Limiter {
    int32_t threshold = 0;
    int32_t attack = 0;
    int32_t release = 0;
    bool operator==(const Limiter&) const = default;
};

struct OutputChannel {
    int32_t gain = 120;
    int32_t outputOn = 1;
    int32_t delay = 0;
    int32_t phaseInvert = 0;
    Crossover crossover;
    Limiter limiter;
    std::array<EqBand, EqRowsPerChannel> eq{};

    bool operator==(const OutputChannel&) const = default;
};

// The highest gain index that typing, stepping and applied or received sets may give a channel.
inline constexpr int32_t gainLimitOf(int channel) {
    return channel == LimitedGainChannel ? GainIndexZeroDb : GainIndexMax;
}

} // namespace m7410
