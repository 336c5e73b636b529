// The unit's whole parameter set: three output channels and the input, reached by channel or band.
#pragma once

#include "model/MainChannel.h"
#include "model/OutputChannel.h"

#include <array>

namespace m7410 {

// One complete parameter set of the unit: the three outputs and the input.
struct ChannelModel {
    std::array<OutputChannel, OutputChannelCount> outputs{};
    MainChannel main;

    ChannelModel();

    EqBand& band(int band);
    const EqBand& band(int band) const;
    Crossover& crossover(int channel);
    const Crossover& crossover(int channel) const;
    int32_t delay(int channel) const;
    int32_t phaseInvert(int channel) const;

    // Limits every indexed field to its table, as a received or applied set must be; returns
    // how many fields changed.
    int clampToTables();

    bool operator==(const ChannelModel&) const = default;
};

} // namespace m7410
