// get and set: parameters of the unit's current set, in engineering units.
#pragma once

#include "ctl/CommandLine.h"

#include <string>
#include <vector>

namespace m7410 {

struct CommandContext;

// Prints "path = value" (every parameter for "all"), as the start-up read it from the unit.
int getCommand(CommandContext& ctx, const std::string& selector);
// Snaps the value as the window does, sends it and prints what the parameter now holds.
int setCommand(CommandContext& ctx, const std::string& path, const std::string& value);
// Several set commands as one change, each value printed once the unit took them all.
int setCommands(CommandContext& ctx, const std::vector<Invocation>& sets);

} // namespace m7410
