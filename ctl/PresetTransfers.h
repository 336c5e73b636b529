// backup, restore, save-current and load-current: the file box's transfers from the console.
#pragma once

#include <string>

namespace m7410 {

struct CommandContext;
class PresetFiles;

// The 20 presets into a 20-group file, written as the window's "save 20-group to PC" does.
int backupCommand(CommandContext& ctx, PresetFiles& files, const std::string& file);
// A 20-group file into the 20 presets; with verify, the presets are read back and compared.
int restoreCommand(CommandContext& ctx, PresetFiles& files, const std::string& file, bool verify);
// The one-group transfers of the unit's current set.
int saveCurrentCommand(CommandContext& ctx, PresetFiles& files, const std::string& file);
int loadCurrentCommand(CommandContext& ctx, PresetFiles& files, const std::string& file);

} // namespace m7410
