// m7410-ctl batch: one command a line, each run over the same link, each result printed.
#pragma once

#include "ctl/BatchInput.h"
#include "ctl/CommandLine.h"

#include <functional>
#include <ostream>
#include <vector>

namespace m7410 {

struct BatchOptions {
    bool keepGoing = false; // run the lines after a failed one too
    bool json = false;      // every line's result, errors included, as one JSON line
};

struct BatchCommands {
    // Runs one command, prints its result and returns its exit code.
    std::function<int(const Invocation&)> run;
    // Runs set lines that follow one another as one change, so that each need not wait for
    // its own poll; prints each line's result; one exit code for them all.
    std::function<int(const std::vector<Invocation>&)> runSets;
};

// Reads command lines until the input ends. A line that is no command (or asks for another
// link, or for another batch) fails as a usage error naming its line number. Set lines are
// gathered while the next line is already there. Stops at the first failure unless keepGoing;
// returns 0 when every line succeeded, else the first failure's code.
int runBatch(BatchInput& input, const BatchOptions& options, std::ostream& out, std::ostream& err,
             const BatchCommands& commands);

} // namespace m7410
