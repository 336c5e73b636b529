// eq-import and eq-export: a channel's six EQ bands from and to filter texts (Equalizer APO, REW).
#pragma once

#include "ctl/FileCommands.h"
#include "eqtext/FilterImport.h"

#include <string>

namespace m7410 {

struct CommandContext;

// The preview of importing the file into the channel, without the unit: what each filter
// becomes on the unit's tables and the largest difference of the responses. "-" reads
// standard input. Exit code.
int eqPreviewCommand(int channel, const std::string& file, OfflineIo io);
// The preview, then the six bands into the channel of the unit; with json the preview and the
// outcome are one object.
int eqImportCommand(CommandContext& ctx, int channel, const std::string& file, std::istream& in);
// The channel's six bands as Equalizer APO text on standard output (with json, the text and
// the bands in one object).
int eqExportCommand(CommandContext& ctx, int channel);

// Every command that sets a channel's six bands does it as eq-import does: one change through
// the unit, confirmed by its poll. Exit code (the failure already reported).
int applyChannelBands(CommandContext& ctx, int channel, const ChannelBands& bands);
// The channel's six bands as the unit holds them.
ChannelBands channelBands(CommandContext& ctx, int channel);
// "Middle", "Low", "High", "Main".
const char* channelCaption(int channel);

} // namespace m7410
