#include "fit/FitReport.h"

#include "eqtext/FilterImport.h"
#include "model/DisplayFormats.h"

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

} // namespace

std::string figureText(double dB) {
    return fixed(dB, 3) + " dB";
}

std::string fitReportText(const EqFit& fit) {
    std::string out;
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        // The columns of the filter import's preview, without its trailing blanks.
        std::string line = "band " + std::to_string(row + 1) + "  " +
                           bandText(fit.bands[static_cast<std::size_t>(row)]);
        line.erase(line.find_last_not_of(' ') + 1);
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
