// Planning a filter import: a filter text's filters snapped onto a channel's six EQ bands, with the
// report.
#pragma once

#include "eqtext/ResponseComparison.h"
#include "eqtext/TextFilter.h"
#include "model/EqBand.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace m7410 {

using ChannelBands = std::array<EqBand, EqRowsPerChannel>;

// A filter snapped onto a band exactly as typed values are: frequency, gain (the one the type
// puts in force) and, for a peak, Q. Shelves become the unit's 6 dB shelves and keep the band's
// Q, which they do not use; the band's other gain is kept too.
EqBand snapFilter(const TextFilter& filter, EqBand band);

// What importing a filter text into one channel would do.
struct FilterImport {
    // Empty when the import can go ahead; otherwise why not (and nothing else is filled). With
    // no usable filter it lists every skipped line, as nothing else would tell what went wrong.
    std::string error;
    std::vector<TextFilter> requested;
    // The channel's six bands afterwards: filter n in row n, rows without a filter at 0 dB.
    ChannelBands bands{};
    Deviation deviation;
};

FilterImport planFilterImport(const FilterText& text, const ChannelBands& current);

// A band's table values in columns: "PEQ  1000 Hz     -3 dB     Q 2" (a shelf: no Q, the
// columns padded all the same).
std::string bandText(const EqBand& band);

// The preview as text: one line per filter, requested then snapped values, then the largest
// difference and where it occurs.
std::string importPreviewText(const FilterImport& plan);
// "line 4 skipped (\"abc\" is not a number): Filter 4: ON PK Fc abc Hz ...".
std::string skippedLineText(const SkippedLine& skipped);
// Why a file's preamp is left out; nothing when it has none or 0 dB.
std::optional<std::string> preampNote(const FilterText& text);
// "2.35 dB at 1234 Hz".
std::string deviationText(const Deviation& deviation);

} // namespace m7410
