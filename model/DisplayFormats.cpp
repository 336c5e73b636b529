#include "model/DisplayFormats.h"

#include "model/ValueTables.h"

#include <charconv>

namespace m7410 {

namespace {

// Always a decimal point: printf follows LC_NUMERIC, which a desktop session may set to a
// decimal-comma locale, and the fields only take a point back. to_chars never looks at the
// locale and rounds exactly as printf does in the C locale.
std::string decimal(double v, std::chars_format format, int precision, const char* unit = "") {
    char buf[64];
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, v, format, precision);
    return std::string(buf, r.ptr) + unit;
}

// Avoids "-0.0" for values that round to zero from below, negative zero included (the fader
// knob's truncated level is -0.0 just below the 0 dB mark).
double noNegativeZero(double v, double halfUnit) {
    return (v <= 0 && v > -halfUnit) ? 0.0 : v;
}

} // namespace

std::string shortestDecimal(double value) {
    // 15 significant digits print every table entry in its shortest decimal form.
    return decimal(value == 0.0 ? 0.0 : value, std::chars_format::general, 15);
}

std::string fixedDecimal(double value, int decimals) {
    std::string s = decimal(value, std::chars_format::fixed, decimals);
    if (s.starts_with("-") && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
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
    return decimal(noNegativeZero(dB, 0.05), std::chars_format::fixed, 1, " dB");
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
    const auto fixed3 = std::chars_format::fixed;
    return {decimal(ms, fixed3, 3, " Ms"), decimal(ms / DelayMsPerMetre, fixed3, 3, " Mm"),
            decimal(ms * FeetPerMetre / DelayMsPerMetre, fixed3, 3, " Ft")};
}

std::string formatPolarity(int32_t phaseInvert) {
    return phaseInvert != 0 ? "-" : "+";
}

} // namespace m7410
