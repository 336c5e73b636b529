#include "unit/UnitError.h"

namespace m7410 {

std::string_view errorKindName(UnitErrorKind kind) {
    switch (kind) {
    case UnitErrorKind::NoPort:
        return "no-port";
    case UnitErrorKind::PermissionDenied:
        return "permission-denied";
    case UnitErrorKind::NotConnected:
        return "not-connected";
    case UnitErrorKind::TimeOut:
        return "time-out";
    case UnitErrorKind::LinkLost:
        return "link-lost";
    case UnitErrorKind::FileDamaged:
        return "file-damaged";
    case UnitErrorKind::FileNotReadable:
        return "file-not-readable";
    case UnitErrorKind::FileNotWritten:
        return "file-not-written";
    case UnitErrorKind::UnitRefused:
        return "unit-refused";
    case UnitErrorKind::Busy:
        return "busy";
    case UnitErrorKind::InvalidArgument:
        return "invalid-argument";
    case UnitErrorKind::NotVerified:
        return "not-verified";
    case UnitErrorKind::Interrupted:
        return "interrupted";
    }
    return "unknown";
}

} // namespace m7410
