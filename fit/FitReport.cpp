#include "fit/FitReport.h"

#include "eqtext/FilterImport.h"
#include "model/DisplayFormats.h"

#include <cmath>

namespace m7410 {

std::string figureText(double dB) {
    return fixedDecimal(dB, 3) + " dB";
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
