// backup, restore, save-current and load-current: the unit's preset transfers from the console.
#pragma once

#include <string>

namespace m7410 {

struct CommandContext;

// The 20 presets into a 20-group file.
int backupCommand(CommandContext& ctx, const std::string& file);
// A 20-group file into the 20 presets; with verify, the presets are read back and compared.
int restoreCommand(CommandContext& ctx, const std::string& file, bool verify);
// The one-group transfers of the unit's current set.
int saveCurrentCommand(CommandContext& ctx, const std::string& file);
int loadCurrentCommand(CommandContext& ctx, const std::string& file);

} // namespace m7410
