// SIGINT and SIGTERM as a request to stop: the command that is waiting on the unit ends and
// says what it had done, instead of the tool dying mid-exchange without a word.
#pragma once

namespace m7410 {

// Installs the handlers; a second signal ends the tool at once.
void watchStopSignals();
// Holds once a stop signal came.
bool stopRequested();

} // namespace m7410
