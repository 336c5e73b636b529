#pragma once

#include <string>
#include <vector>

namespace m7410 {

// Writes preset file lines (664 hex digits each) with CR LF line ends. The file is replaced
// only once it is completely written, so a failed save never leaves half a file behind.
// On failure the reason is put into error.
bool writePresetFile(const std::string& path, const std::vector<std::string>& lines,
                     std::string& error);

} // namespace m7410
