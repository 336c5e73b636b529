// The one file reader's plain C++ core: a regular file up to a size limit, or a reason. Code
// without Qt reads through it; PlainFile wraps it for the rest.
#pragma once

#include <string>

namespace m7410 {

struct PlainRead {
    enum class Status { Read, Missing, Refused };
    Status status = Status::Missing;
    std::string bytes;
    // Why the file was not read: "not a regular file", "larger than 1 MiB" or the system's
    // reason (also set when the file is missing).
    std::string reason;
    bool notRegular = false; // a folder, pipe, device or socket
    bool tooLarge = false;   // refused for its size alone
};

// Reads the file at path (in the system's encoding) when it is a regular file of at most limit
// bytes. It is looked at before it is opened and again through the open handle, so neither a
// device nor a pipe swapped in meanwhile is ever read or waited on.
PlainRead readPlainFile(const std::string& path, long long limit);

// "16 MiB", "64 KiB" or "100 bytes".
std::string sizeLimitText(long long limit);

} // namespace m7410
