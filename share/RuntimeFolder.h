// The folder that holds the sockets of the units this user's programs own, and the socket's
// name for one unit.
#pragma once

#include "unit/UnitLink.h"

#include <QString>

#include <optional>

namespace m7410 {

// $XDG_RUNTIME_DIR/m7410, or ~/.m7410 when the variable is unset. Made with mode 0700 when
// missing; a folder that others may enter is closed to them, and one that is not this user's
// own directory is refused (nothing, with the reason in error). A client that only looks for
// owners passes create false: no folder, no owner.
std::optional<QString> runtimeFolder(QString& error, bool create = true);

// The socket's file name for a unit: "usb-SERIAL-NODE" or "serial-PATH", with every character
// other than letters, digits, '.' and '_' as '-'.
QString socketNameFor(const UnitIdentity& identity);
// The name a serial port's owner serves under (the path's links resolved when it exists).
QString socketNameForPort(const QString& port);
// Whether a socket name is one of a USB unit.
bool isUsbSocketName(const QString& name);

} // namespace m7410
