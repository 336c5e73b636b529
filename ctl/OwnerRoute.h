// Which program, if any, serves the unit a command addresses (the unit on USB, the serial port
// it would open, or --unit ID): the socket to go through.
#pragma once

#include "ctl/CommandLine.h"

#include <QString>

#include <optional>
#include <vector>

namespace m7410 {

// An owner of a USB unit first (a plugged-in unit is the one a command would open), then the
// owner of the serial port the command would open (the last --port, else the system's last).
std::optional<QString> ownerSocketFor(const Invocation& invocation);
// Every socket in the runtime folder that an owner serves, by name.
std::vector<QString> servedSockets();

} // namespace m7410
