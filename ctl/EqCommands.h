// eq-import and eq-export: a channel's six EQ bands from and to filter texts (Equalizer APO, REW).
#pragma once

#include "eqtext/FilterImport.h"

#include <ostream>
#include <string>

namespace m7410 {

struct CommandContext;

// The preview of importing the file into the channel, without the unit: what each filter
// becomes on the unit's tables and the largest difference of the responses. Exit code.
int eqPreviewCommand(int channel, const std::string& file, std::ostream& out, std::ostream& err);
// The preview, then the six bands into the channel of the unit.
int eqImportCommand(CommandContext& ctx, int channel, const std::string& file);
// The channel's six bands as Equalizer APO text on standard output.
int eqExportCommand(CommandContext& ctx, int channel);

// What eq-import does with its bands, for every command that sets a channel's six bands: each
// into the model, each band's message through the paced queue, then a status answer awaited.
// Prints nothing on success; exit code.
int applyChannelBands(CommandContext& ctx, int channel, const ChannelBands& bands);
// The channel's six bands as the unit holds them.
ChannelBands channelBands(CommandContext& ctx, int channel);
// "Middle", "Low", "High", "Main".
const char* channelCaption(int channel);

} // namespace m7410
