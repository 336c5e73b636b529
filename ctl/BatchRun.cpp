#include "ctl/BatchRun.h"

#include "ctl/BatchLine.h"
#include "ctl/JsonOutput.h"

#include <optional>
#include <string>

namespace m7410 {

namespace {

// Why a parsed line cannot run inside a batch; empty when it can.
std::string notInBatch(const Invocation& inv) {
    if (inv.demo || !inv.ports.empty())
        return "the link is chosen once, on the batch's own command line (--port, --demo)";
    if (inv.command == Command::Help || inv.command == Command::Version)
        return "help and version are not commands for the unit";
    return {};
}

// One line read: the command, nothing for a blank or comment line, or why it is none.
struct BatchLine {
    int number = 0;
    std::optional<Invocation> command;
    std::string problem;
};

BatchLine readLine(const std::string& text, int number, bool json) {
    BatchLine line{number, std::nullopt, {}};
    const std::optional<std::vector<std::string>> words = splitBatchLine(text, line.problem);
    if (!words || words->empty()) return line;
    if (words->front() == "batch") {
        line.problem = "a batch cannot start another batch";
        return line;
    }
    const ParsedCommandLine parsed = parseCommandLine(*words);
    if (!parsed.invocation) {
        line.problem = parsed.error;
        return line;
    }
    line.problem = notInBatch(*parsed.invocation);
    if (line.problem.empty()) {
        line.command = *parsed.invocation;
        line.command->json = line.command->json || json;
    }
    return line;
}

class Batch {
public:
    Batch(BatchInput& input, const BatchOptions& options, std::ostream& out, std::ostream& err)
        : input(input), options(options), out(out), err(err) {}

    std::optional<BatchLine> next() {
        if (held) return std::exchange(held, std::nullopt);
        while (const std::optional<std::string> text = input.nextLine()) {
            BatchLine line = readLine(*text, ++number, options.json);
            if (line.command || !line.problem.empty()) return line;
        }
        return std::nullopt;
    }

    // The set lines after first that are there already; the first other line is held.
    std::vector<Invocation> setsAfter(const Invocation& first) {
        std::vector<Invocation> sets{first};
        while (input.lineReady()) {
            std::optional<BatchLine> line = next();
            if (!line) break;
            if (!line->command || line->command->command != Command::Set) {
                held = std::move(line);
                break;
            }
            sets.push_back(*line->command);
        }
        return sets;
    }

    int usageError(const BatchLine& line) {
        const std::string message = "line " + std::to_string(line.number) + ": " + line.problem;
        err << "m7410-ctl: " << message << '\n';
        err.flush();
        if (options.json) printJsonLine(out, errorJson(ErrorKind::Usage, message));
        return ExitUsage;
    }

private:
    BatchInput& input;
    const BatchOptions& options;
    std::ostream& out;
    std::ostream& err;
    std::optional<BatchLine> held;
    int number = 0;
};

} // namespace

int runBatch(BatchInput& input, const BatchOptions& options, std::ostream& out, std::ostream& err,
             const BatchCommands& commands) {
    Batch batch(input, options, out, err);
    int firstFailure = ExitOk;
    while (const std::optional<BatchLine> line = batch.next()) {
        int code = ExitOk;
        if (!line->command)
            code = batch.usageError(*line);
        else if (line->command->command == Command::Set)
            code = commands.runSets(batch.setsAfter(*line->command));
        else
            code = commands.run(*line->command);
        if (code != ExitOk && firstFailure == ExitOk) firstFailure = code;
        if (code != ExitOk && !options.keepGoing) break;
    }
    return firstFailure;
}

} // namespace m7410
