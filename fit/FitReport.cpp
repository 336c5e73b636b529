#include "fit/FitReport.h"

#include "model/DisplayFormats.h"
#include "model/ValueTables.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace m7410 {

namespace {

std::string fixed(double v, int decimals) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    std::string s(buf, r.ptr);
    if (s.starts_with("-") && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

std::string pad(std::string s, std::size_t width) {
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
}

} // namespace

std::string figureText(double dB) {
    return fixed(dB, 3) + " dB";
}

std::string fitReportText(const EqFit& fit) {
    std::string out;
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        const EqBand& b = fit.bands[static_cast<std::size_t>(row)];
        std::string line = "band " + std::to_string(row + 1) + "  " +
                           pad(std::string(EqTypeList[std::clamp(b.type, 0, EqTypeCount - 1)]), 4) +
                           " " + pad(formatFrequency(b.freq) + " Hz", 11) + " " +
                           formatEqGain(b.gainInForce()) + " dB";
        if (b.type == EqTypePeaking) line = pad(line, 34) + " Q " + formatQ(b.q);
        out += line + "\n";
    }
    out += "RMS error: " + figureText(fit.before.rms) + " before, " +
           figureText(fit.fitThenRound.rms) + " with fit then round, " +
           figureText(fit.after.rms) + " with the table search\n";
    out += "largest error: " + figureText(fit.after.maxError) + " at " +
           shortestDecimal(std::round(fit.after.maxErrorHz * 10.0) / 10.0) + " Hz\n";
    return out;
}

} // namespace m7410
