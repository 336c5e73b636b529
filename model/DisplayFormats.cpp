#include "model/DisplayFormats.h"

#include "model/ValueTables.h"

#include <cstdio>

namespace m7410 {

namespace {

std::string printf1(const char* pattern, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, pattern, v);
    return buf;
}

// Avoids "-0.0" for values that round to zero from below, negative zero included (the fader
// knob's truncated level is -0.0 just below the 0 dB mark).
double noNegativeZero(double v, double halfUnit) {
    return (v <= 0 && v > -halfUnit) ? 0.0 : v;
}

} // namespace

std::string shortestDecimal(double value) {
    // 15 significant digits print every table entry in its shortest decimal form.
    return printf1("%.15g", value == 0.0 ? 0.0 : value);
}

std::string formatFrequency(int32_t i) {
    return shortestDecimal(FreqTable.at(i));
}
std::string formatEqGain(int32_t i) {
    return shortestDecimal(EqGainTable.at(i));
}
std::string formatQ(int32_t i) {
    return shortestDecimal(QTable.at(i));
}

std::string formatDb(double dB) {
    return printf1("%.1f dB", noNegativeZero(dB, 0.05));
}

std::string formatOutputGain(int32_t i) {
    return formatDb(OutputGainTable.at(i));
}

double volumeDb(int32_t volume) {
    return 0.2 * volume - 60.2;
}

std::string formatVolume(int32_t volume) {
    return volume == 0 ? std::string("Mute") : formatDb(volumeDb(volume));
}

DelayTexts formatDelay(int32_t steps) {
    const double ms = steps * DelayMsPerStep;
    return {printf1("%.3f Ms", ms), printf1("%.3f Mm", ms / DelayMsPerMetre),
            printf1("%.3f Ft", ms * FeetPerMetre / DelayMsPerMetre)};
}

std::string formatPolarity(int32_t phaseInvert) {
    return phaseInvert != 0 ? "-" : "+";
}

} // namespace m7410
