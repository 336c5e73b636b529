// What went wrong in an operation of the unit API: a kind for programs, a line for people.
#pragma once

#include <string>
#include <string_view>

namespace m7410 {

enum class UnitErrorKind {
    NoPort,           // no unit on USB and no serial port that opens
    PermissionDenied, // a unit is there but this user may not open it
    NotConnected,     // the operation needs an open link
    TimeOut,          // the unit did not answer in time
    LinkLost,         // the link closed during the operation
    FileDamaged,      // a preset file that is not what its kind holds
    FileNotReadable,  // the system refused to read a file
    FileNotWritten,   // the system refused to write a file, or it is not a regular file
    UnitRefused,      // the unit answered otherwise than asked
    Busy,             // another exchange holds the link
    InvalidArgument,  // a slot, path, value or name that cannot be
    NotVerified,      // written, but the read-back differs
    Interrupted,      // the front end stopped waiting (a signal)
};

struct UnitError {
    UnitErrorKind kind;
    std::string message; // one line, no trailing full stop needed
};

// The stable name of a kind for scripts and JSON ("no-port", "time-out" ...).
std::string_view errorKindName(UnitErrorKind kind);

} // namespace m7410
