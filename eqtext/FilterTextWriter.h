// Writing a channel's six EQ bands as Equalizer APO text.
#pragma once

#include "eqtext/FilterImport.h"

#include <string>
#include <string_view>

namespace m7410 {

// A channel's six bands as an Equalizer APO configuration: a comment naming the channel,
// "Preamp: 0 dB" and one line per band with the table values. Shelves are written as the
// unit's 6 dB shelves ("LS 6dB", "HS 6dB"). Lines end in LF.
std::string writeFilterText(std::string_view channelName, const ChannelBands& bands);

} // namespace m7410
