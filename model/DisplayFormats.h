// The texts the window and the tool show for stored table indexes.
#pragma once

#include <cstdint>
#include <string>

// The texts the window shows for stored indexes.
namespace m7410 {

// Shortest general decimal form of a table value: 19.7, 1000, 21900, -23.8, 0.
std::string shortestDecimal(double value);
// A fixed number of decimals, never "-0.00" for a value that rounds to zero from below.
std::string fixedDecimal(double value, int decimals);

std::string formatFrequency(int32_t freqIndex);
std::string formatEqGain(int32_t gainIndex);
std::string formatQ(int32_t qIndex);
// "0.0 dB" pattern: one decimal and " dB".
std::string formatDb(double dB);
std::string formatOutputGain(int32_t gainIndex);
// "Mute" for 0, else the dB value of the master volume position.
std::string formatVolume(int32_t volume);
double volumeDb(int32_t volume);

struct DelayTexts {
    std::string ms;
    std::string metres;
    std::string feet;
};
DelayTexts formatDelay(int32_t steps);

inline constexpr double DelayMsPerStep = 0.021;
inline constexpr double DelayMsPerMetre = 2.9034;
inline constexpr double FeetPerMetre = 3.281;

std::string formatPolarity(int32_t phaseInvert);

} // namespace m7410
