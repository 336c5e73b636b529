// One line of a batch: the words of a command as a shell would split them, without a shell.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace m7410 {

// Words apart by blanks; "..." keeps blanks and takes \" and \\, '...' keeps everything; a
// "#" at the start of a word comments out the rest of the line. A blank or comment line gives
// no words. Nothing, with the reason, for an unclosed quote.
std::optional<std::vector<std::string>> splitBatchLine(std::string_view line, std::string& error);

} // namespace m7410
