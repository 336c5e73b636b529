#include "eqtext/FilterTextWriter.h"

#include "model/DisplayFormats.h"

namespace m7410 {

std::string writeFilterText(std::string_view channelName, const ChannelBands& bands) {
    std::string out = "# M_7410 equaliser of channel \"" + std::string(channelName) + "\"\n";
    out += "Preamp: 0 dB\n";
    for (size_t row = 0; row < bands.size(); ++row) {
        const EqBand& b = bands[row];
        const char* type = b.type == EqTypeLowShelf    ? "LS 6dB"
                           : b.type == EqTypeHighShelf ? "HS 6dB"
                                                       : "PK";
        out += "Filter " + std::to_string(row + 1) + ": ON " + type + " Fc " +
               formatFrequency(b.freq) + " Hz Gain " + formatEqGain(b.gainInForce()) + " dB";
        if (b.type != EqTypeLowShelf && b.type != EqTypeHighShelf) out += " Q " + formatQ(b.q);
        out += "\n";
    }
    return out;
}

} // namespace m7410
