// Turning values typed in engineering units into table indexes; shared by typed fields and imports.
#pragma once

#include <cstdint>

// How a value typed in engineering units becomes a table index: held to the field's limits,
// then snapped to the nearest table entry. Typed fields and imported filters share these.
namespace m7410 {

// Equaliser and crossover frequencies: 19.7 .. 21900 Hz.
int32_t snapFrequency(double hz);
// Equaliser gains: -24 .. +12 dB in 0.2 dB steps.
int32_t snapEqGain(double dB);
// Q values: 0.2 .. 36.
int32_t snapQ(double q);
// Output gains of channel 0..2: -20 .. +5 dB in 0.1 dB steps, the "High" row only up to 0 dB.
int32_t snapOutputGain(double dB, int channel);

} // namespace m7410
