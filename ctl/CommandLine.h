// The command line of m7410-ctl: options, the command and its checked arguments.
#pragma once

#include "ctl/EqFitArguments.h"

#include <optional>
#include <string>
#include <vector>

namespace m7410 {

// Exit codes: 0 done, 1 the unit or a file failed and nothing was written, 2 the command line
// is wrong, 3 written but the read-back differs, 4 stopped by a signal part-way through.
enum ExitCode : int {
    ExitOk = 0,
    ExitFailure = 1,
    ExitUsage = 2,
    ExitNotVerified = 3,
    ExitInterrupted = 4,
};

enum class Command {
    Help,
    Version,
    Status,
    Backup,
    Restore,
    SaveCurrent,
    LoadCurrent,
    Recall,
    Store,
    Get,
    Set,
    EqImport,
    EqExport,
    Show,
    Diff,
    Batch,
    EqFit,
    Serve,
    Watch,
    List,
};

struct Invocation {
    Command command = Command::Help;
    bool json = false;
    bool demo = false;
    bool verify = true;
    bool dryRun = false; // eq-import, eq-fit
    bool direct = false; // an own link even when another program serves the unit
    std::string unit;    // --unit ID: the served unit of that name (as list shows it)
    bool all = false;    // status, recall, backup DIR on every served unit
    // Added after the system's serial ports, the last one being the port opened.
    std::vector<std::string> ports;
    bool quiet = false;     // no progress bar
    bool keepGoing = false; // batch: run the lines after a failed one too
    // backup, restore, save-current, load-current, eq-import, show, diff; batch's -f. "-" is
    // standard output or input.
    std::string file;
    std::string otherFile; // diff: the second file; empty compares with the unit
    int slot = 0;          // recall, store: 1..20
    std::string name;      // store
    std::string path;      // get ("all", a channel or part of one), set
    std::string value;     // set
    int channel = 0;       // eq-import, eq-export, eq-fit: 0..3 as the model numbers them
    EqFitArguments fit;    // eq-fit
};

struct ParsedCommandLine {
    std::optional<Invocation> invocation;
    std::string error; // why the command line is wrong, when there is no invocation
    // --json was asked for, even on a wrong line: the usage error is then an object too.
    bool json = false;
};

// The invocation reads a file named "-", which is standard input.
bool readsStandardInput(const Invocation& invocation);

// args without the program name. Every argument is checked here, before anything reaches
// the unit: a wrong slot, name, path or value is a usage error.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);

} // namespace m7410
