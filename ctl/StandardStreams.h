// "-" as a file name: standard input read whole, with the same size bound as a file.
#pragma once

#include <istream>
#include <optional>
#include <string>

namespace m7410 {

inline bool isStandardStream(const std::string& file) {
    return file == "-";
}

// Everything up to the end of the stream; nothing, with the reason, when it holds more than
// limit bytes or fails.
std::optional<std::string> readBounded(std::istream& in, std::size_t limit, std::string& error);

} // namespace m7410
