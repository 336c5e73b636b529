#include "eqtext/FilterImport.h"

#include "model/DisplayFormats.h"
#include "model/TypedValues.h"
#include "model/ValueTables.h"

#include <algorithm>
#include <cmath>

namespace m7410 {

namespace {

std::string pad(std::string s, size_t width) {
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
}

std::string requestedText(const TextFilter& f) {
    std::string s = pad(f.typeText, 7) + " " + pad(shortestDecimal(f.freq) + " Hz", 11) + " " +
                    pad(shortestDecimal(f.gain) + " dB", 9);
    if (f.kind == TextFilterKind::Peaking) s += " Q " + shortestDecimal(*f.q);
    return s;
}

} // namespace

EqBand snapFilter(const TextFilter& filter, EqBand band) {
    band.freq = snapFrequency(filter.freq);
    switch (filter.kind) {
    case TextFilterKind::Peaking:
        band.type = EqTypePeaking;
        band.q = snapQ(filter.q.value_or(1.0));
        break;
    case TextFilterKind::LowShelf:
        band.type = EqTypeLowShelf;
        break;
    case TextFilterKind::HighShelf:
        band.type = EqTypeHighShelf;
        break;
    }
    band.setGainInForce(snapEqGain(filter.gain));
    return band;
}

FilterImport planFilterImport(const FilterText& text, const ChannelBands& current) {
    FilterImport plan;
    const size_t n = text.filters.size();
    if (n == 0) {
        plan.error = "The file holds no filter the unit can use";
        plan.error += text.skipped.empty() ? "." : ":";
        for (const SkippedLine& s : text.skipped)
            plan.error.append(1, '\n').append(skippedLineText(s));
        return plan;
    }
    if (n > EqRowsPerChannel) {
        plan.error = "The file holds " + std::to_string(n) + " filters; a channel has only " +
                     std::to_string(EqRowsPerChannel) + " bands.";
        return plan;
    }
    plan.requested = text.filters;
    plan.bands = current;
    for (size_t row = 0; row < EqRowsPerChannel; ++row) {
        if (row < n)
            plan.bands[row] = snapFilter(text.filters[row], current[row]);
        else
            plan.bands[row].setGainInForce(EqGainZeroIndex);
    }
    plan.deviation = largestDeviation(plan.requested, plan.bands);
    return plan;
}

std::string skippedLineText(const SkippedLine& s) {
    std::string out = "line ";
    out.append(std::to_string(s.line)).append(" skipped (").append(s.reason).append("): ");
    return out.append(s.text);
}

std::optional<std::string> preampNote(const FilterText& text) {
    if (!text.preamp || *text.preamp == 0.0) return std::nullopt;
    return "Preamp " + shortestDecimal(*text.preamp) +
           " dB is not applied: the unit's EQ has no overall gain.";
}

std::string deviationText(const Deviation& d) {
    return fixedDecimal(d.largestDb, 2) + " dB at " + fixedDecimal(d.atHz, 0) + " Hz";
}

std::string bandText(const EqBand& b) {
    std::string s = pad(std::string(EqTypeList[std::clamp(b.type, 0, EqTypeCount - 1)]), 4) + " " +
                    pad(formatFrequency(b.freq) + " Hz", 11) + " " +
                    pad(formatEqGain(b.gainInForce()) + " dB", 9);
    if (b.type == EqTypePeaking) s += " Q " + formatQ(b.q);
    return s;
}

std::string importPreviewText(const FilterImport& plan) {
    if (!plan.error.empty()) return plan.error + "\n";
    std::string out;
    for (size_t i = 0; i < plan.requested.size(); ++i) {
        out += std::to_string(i + 1) + ": " + requestedText(plan.requested[i]) + " -> " +
               bandText(plan.bands[i]) + "\n";
    }
    out += "Largest difference 20 Hz .. 20 kHz: " + deviationText(plan.deviation) + "\n";
    return out;
}

} // namespace m7410
