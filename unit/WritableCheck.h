// Whether a file may be written before the unit is asked for what goes into it.
#pragma once

#include <optional>
#include <string>

namespace m7410 {

// The one-line reason the file cannot be written (a folder, a device or pipe, a missing or
// read-only folder, a read-only file); nothing when it can.
std::optional<std::string> unwritableFile(const std::string& path);

} // namespace m7410
