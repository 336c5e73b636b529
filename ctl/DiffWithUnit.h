// diff FILE: a preset file against what the unit holds now.
#pragma once

#include <string>

namespace m7410 {

struct CommandContext;

// A one-group file against the unit's current set, a 20-group file against its 20 presets
// (read from the unit for it). Exit code as for two files.
int diffWithUnitCommand(CommandContext& ctx, const std::string& file);

} // namespace m7410
