// Why a serial port does not open, found out after the fact in words a user can act on.
#pragma once

#include <string>

namespace m7410 {

struct SerialPortProblem {
    enum class Kind { Missing, NotSerial, PermissionDenied, InUse, Other };
    Kind kind = Kind::Other;
    // "/dev/ttyUSB0 is in use by minicom (process 4711)", with no line end.
    std::string text;
};

// Looks at the path as the system sees it: whether it exists, is a terminal device, is held
// under a lock file by a live program, and whether this user may open it.
SerialPortProblem diagnoseSerialPort(const std::string& path);

// A short stable name for scripts: "missing", "not-serial", "permission", "in-use", "other".
const char* problemKindName(SerialPortProblem::Kind kind);

} // namespace m7410
