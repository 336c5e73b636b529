// A preset file read to be looked at without the unit: one set, or the 20 presets.
#pragma once

#include "protocol/ParameterBlock.h"

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace m7410 {

struct PresetFileContents {
    bool twentyGroups = false;
    // One set for a one-group file, the 20 presets in slot order for a 20-group file.
    std::vector<BlockData> sets;
};

// The lines of a file as the window takes them: 20 records, or one record (which may be
// split over lines). Nothing, with the reason, for anything else.
std::optional<PresetFileContents> presetFileContents(const std::vector<std::string>& lines,
                                                     std::string& error);
// Reads the file ("-" is standardInput); nothing, with "FILE: reason", when it cannot be
// read or is no preset file.
std::optional<PresetFileContents>
readPresetFileContents(const std::string& file, std::istream& standardInput, std::string& error);

} // namespace m7410
