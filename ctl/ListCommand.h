// list: the units this user's programs serve, with the program that owns each, and the serial
// ports given with --port.
#pragma once

#include "ctl/CommandLine.h"

#include <ostream>

namespace m7410 {

class Clock;

int listCommand(const Invocation& invocation, Clock& clock, std::ostream& out, std::ostream& err);

} // namespace m7410
