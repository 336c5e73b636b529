// Writing preset files, and the check that one can be written before the unit is asked.
#pragma once

#include <string>
#include <vector>

namespace m7410 {

// Writes preset file lines (664 hex digits each) with CR LF line ends. The file is replaced
// only once it is completely written, so a failed save never leaves half a file behind, and
// only a regular file or a new name is written: a device or a pipe at the path is refused
// ("not a regular file"). On failure the reason is put into error.
bool writePresetFile(const std::string& path, const std::vector<std::string>& lines,
                     std::string& error);

// Whether writePresetFile could write path now (folder writable, an existing file regular and
// writable), so a transfer that ends in a file is not begun for nothing. On failure the reason
// is put into error.
bool checkPresetFileWritable(const std::string& path, std::string& error);

} // namespace m7410
