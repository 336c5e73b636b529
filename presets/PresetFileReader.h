// Reading a preset file into its lines, and what a group record looks like.
#pragma once

#include "support/PlainFile.h"

#include <string>
#include <string_view>
#include <vector>

namespace m7410 {

// A 20-group file is 20 lines of 664 digits; anything much larger cannot be a preset file, so
// it is not read into memory at all.
inline constexpr long long MaxPresetFileBytes = PlainFile::PresetFileLimit;

enum class PresetFileRead {
    Read,       // lines holds the file's lines
    TooLarge,   // larger than any preset file: damaged
    Unreadable, // the system refused it; error says why
};

// The lines of a preset file without their ends (CR, LF or CR LF). A last line without an end
// counts; the end of the last line does not start another one.
PresetFileRead readPresetFile(const std::string& path, std::vector<std::string>& lines,
                              std::string& error);
std::vector<std::string> splitLines(std::string_view text);

// One group record: 664 characters, each pair two hexadecimal digits of either case.
bool isGroupRecord(std::string_view text);

} // namespace m7410
