// serve: m7410-ctl holds the unit without a window and serves it to the user's other programs
// until a stop signal, then closes the link cleanly.
#pragma once

#include "ctl/CommandLine.h"

#include <functional>
#include <ostream>

namespace m7410 {

class Clock;
class Unit;

// Exit code: 0 once stopped, 1 when the unit cannot be opened or is served already.
int serveCommand(Unit& unit, Clock& clock, const Invocation& invocation, std::ostream& out,
                 std::ostream& err, const std::function<bool()>& stop);

} // namespace m7410
