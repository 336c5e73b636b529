// The command line of m7410-ctl: options, the command and its checked arguments.
#pragma once

#include "ctl/EqFitArguments.h"

#include <optional>
#include <string>
#include <vector>

namespace m7410 {

// Exit codes: 0 done, 1 the unit or a file failed, 2 the command line is wrong.
enum ExitCode : int { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

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
    EqFit,
};

struct Invocation {
    Command command = Command::Help;
    bool json = false;
    bool demo = false;
    bool verify = true;
    bool dryRun = false; // eq-import, eq-fit
    // Added after the system's serial ports, the last one being the port opened.
    std::vector<std::string> ports;
    std::string file;  // backup, restore, save-current, load-current
    int slot = 0;      // recall, store: 1..20
    std::string name;  // store
    std::string path;  // get, set ("all" for get)
    std::string value; // set
    int channel = 0;   // eq-import, eq-export, eq-fit: 0..3 as the model numbers them
    EqFitArguments fit; // eq-fit
};

struct ParsedCommandLine {
    std::optional<Invocation> invocation;
    std::string error; // why the command line is wrong, when there is no invocation
};

// args without the program name. Every argument is checked here, before anything reaches
// the unit: a wrong slot, name, path or value is a usage error.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& args);

} // namespace m7410
