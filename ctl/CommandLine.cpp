#include "ctl/CommandLine.h"

#include "support/AsciiText.h"
#include "unit/ParameterPaths.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace m7410 {

namespace {

// The name field of the preset area takes printable ASCII and stops typing at 15 characters.
constexpr std::size_t NameLengthMax = 15;
constexpr int SlotCount = 20;

struct CommandForm {
    Command command;
    std::size_t arguments;
    const char* usage;
    std::size_t optionalArguments = 0;
};

const std::map<std::string, CommandForm, std::less<>>& commands() {
    static const std::map<std::string, CommandForm, std::less<>> table = {
        {"status", {Command::Status, 0, "status"}},
        {"backup", {Command::Backup, 1, "backup FILE"}},
        {"restore", {Command::Restore, 1, "restore FILE [--no-verify]"}},
        {"save-current", {Command::SaveCurrent, 1, "save-current FILE"}},
        {"load-current", {Command::LoadCurrent, 1, "load-current FILE"}},
        {"recall", {Command::Recall, 1, "recall N"}},
        {"store", {Command::Store, 2, "store N NAME"}},
        {"get", {Command::Get, 1, "get PATH|CHANNEL|all"}},
        {"set", {Command::Set, 2, "set PATH VALUE"}},
        {"eq-import", {Command::EqImport, 2, "eq-import CHANNEL FILE [--dry-run]"}},
        {"eq-export", {Command::EqExport, 1, "eq-export CHANNEL"}},
        {"show", {Command::Show, 1, "show FILE"}},
        {"diff", {Command::Diff, 1, "diff FILE [FILE2]", 1}},
        {"batch", {Command::Batch, 0, "batch [-f FILE] [--keep-going]"}},
        {"eq-fit",
         {Command::EqFit, 2,
          "eq-fit CHANNEL MEASUREMENT [--target FILE] [--from HZ] [--to HZ] [--max-boost DB] "
          "[--cut-only] [--keep 1,2] [--dry-run]"}},
        {"help", {Command::Help, 0, "help"}},
        {"serve", {Command::Serve, 0, "serve"}},
        {"watch", {Command::Watch, 0, "watch"}},
        {"list", {Command::List, 0, "list"}},
    };
    return table;
}

// A negative number is a value, not an option: "set high.gain -3".
bool isOption(const std::string& arg) {
    if (arg.size() < 2 || arg[0] != '-') return false;
    const char c = arg[1];
    return !(c == '.' || (c >= '0' && c <= '9'));
}

std::optional<int> slotNumber(const std::string& text) {
    int n = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), n);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size() || n < 1 || n > SlotCount)
        return std::nullopt;
    return n;
}

bool nameAllowed(const std::string& name) {
    if (name.size() > NameLengthMax) return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c > 0x7E) return false;
    }
    return true;
}

ParsedCommandLine fail(std::string why) {
    return {std::nullopt, std::move(why)};
}

// Checks the positional arguments of the command and stores them.
std::string takeArguments(Invocation& inv, const std::vector<std::string>& a) {
    switch (inv.command) {
    case Command::Backup:
    case Command::Restore:
    case Command::SaveCurrent:
    case Command::LoadCurrent:
        if (a[0].empty()) return "FILE must not be empty";
        if (a[0] == "-" && inv.json &&
            (inv.command == Command::Backup || inv.command == Command::SaveCurrent))
            return "with --json standard output holds the JSON: give a FILE, not -";
        inv.file = a[0];
        return {};
    case Command::Recall:
    case Command::Store: {
        const std::optional<int> n = slotNumber(a[0]);
        if (!n) return "N must be a preset number from 1 to 20, not '" + a[0] + "'";
        inv.slot = *n;
        if (inv.command == Command::Store) {
            // The unit would keep a blank name, which no list can show.
            if (trimmed(a[1]).empty()) return "NAME must not be empty";
            if (!nameAllowed(a[1]))
                return "NAME must be up to 15 printable ASCII characters (space to ~)";
            inv.name = a[1];
        }
        return {};
    }
    case Command::Get:
        if (selectParameterPaths(a[0]).empty())
            return "no parameter '" + a[0] + "' (m7410-ctl --help lists the paths)";
        inv.path = a[0];
        return {};
    case Command::Set: {
        const ParameterPath* p = findParameterPath(a[0]);
        if (p == nullptr) return "no parameter '" + a[0] + "' (m7410-ctl --help lists the paths)";
        std::string why;
        if (!snapParameterValue(*p, a[1], why)) return p->path + ": '" + a[1] + "': " + why;
        inv.path = p->path;
        inv.value = a[1];
        return {};
    }
    case Command::EqImport:
    case Command::EqExport:
    case Command::EqFit: {
        const std::vector<std::string>& names = channelNames();
        const auto it = std::find(names.begin(), names.end(), a[0]);
        if (it == names.end())
            return "CHANNEL must be main, high, middle or low, not '" + a[0] + "'";
        inv.channel = channelIndexOf(a[0]);
        if (inv.command == Command::EqImport) {
            if (a[1].empty()) return "FILE must not be empty";
            inv.file = a[1];
        }
        if (inv.command == Command::EqFit) {
            if (a[1].empty()) return "MEASUREMENT must not be empty";
            inv.fit.measurement = a[1];
            if (!(inv.fit.fromHz < inv.fit.toHz)) return "--from must lie below --to";
        }
        return {};
    }
    case Command::Show:
    case Command::Diff:
        if (a[0].empty() || (a.size() > 1 && a[1].empty())) return "FILE must not be empty";
        if (a.size() > 1 && a[0] == "-" && a[1] == "-")
            return "only one of the two files can be standard input";
        inv.file = a[0];
        if (a.size() > 1) inv.otherFile = a[1];
        return {};
    case Command::Help:
    case Command::Version:
    case Command::Status:
    case Command::Batch:
    case Command::Serve:
    case Command::Watch:
    case Command::List:
        return {};
    }
    return {};
}

} // namespace

namespace {

ParsedCommandLine parseArguments(const std::vector<std::string>& args) {
    Invocation inv;
    bool help = false;
    bool version = false;
    bool noVerify = false;
    bool dryRun = false;
    std::optional<std::string> batchFile;
    std::vector<std::string> positional;
    bool onlyPositional = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyPositional || !isOption(arg)) {
            positional.push_back(arg);
        } else if (arg == "--") {
            onlyPositional = true;
        } else if (arg == "-h" || arg == "--help") {
            help = true;
        } else if (arg == "-v" || arg == "--version") {
            version = true;
        } else if (arg == "--json") {
            inv.json = true;
        } else if (arg == "--demo") {
            inv.demo = true;
        } else if (arg == "--no-verify") {
            noVerify = true;
        } else if (arg == "--unit" || arg.starts_with("--unit=")) {
            if (arg == "--unit") {
                if (i + 1 >= args.size()) return fail("--unit needs an ID (m7410-ctl list shows them)");
                inv.unit = args[++i];
            } else {
                inv.unit = arg.substr(7);
            }
            if (inv.unit.empty() || inv.unit.find('/') != std::string::npos)
                return fail("--unit needs an ID as m7410-ctl list shows it");
        } else if (arg == "--all") {
            inv.all = true;
        } else if (arg == "--direct") {
            inv.direct = true;
        } else if (arg == "--dry-run") {
            dryRun = true;
        } else if (arg == "--quiet" || arg == "-q") {
            inv.quiet = true;
        } else if (arg == "--keep-going") {
            inv.keepGoing = true;
        } else if (arg == "-f" || arg == "--file" || arg.starts_with("--file=")) {
            if (arg.starts_with("--file="))
                batchFile = arg.substr(7);
            else if (i + 1 < args.size())
                batchFile = args[++i];
            if (!batchFile || batchFile->empty()) return fail(arg.substr(0, 6) + " needs a FILE");
        } else if (const std::optional<std::string> fit = takeEqFitOption(args, i, inv.fit)) {
            if (!fit->empty()) return fail(*fit);
        } else if (arg == "--port" || arg.starts_with("--port=")) {
            std::string path;
            if (arg == "--port") {
                if (i + 1 >= args.size()) return fail("--port needs a PATH");
                path = args[++i];
            } else {
                path = arg.substr(7);
            }
            if (path.empty()) return fail("--port needs a PATH");
            inv.ports.push_back(path);
        } else {
            return fail("unknown option " + arg);
        }
    }
    if (help) {
        inv.command = Command::Help;
        return {inv, {}};
    }
    if (version) {
        inv.command = Command::Version;
        return {inv, {}};
    }
    if (positional.empty()) return fail("no command given");
    const auto it = commands().find(positional[0]);
    if (it == commands().end()) return fail("unknown command '" + positional[0] + "'");
    const CommandForm& form = it->second;
    inv.command = form.command;
    const std::vector<std::string> rest(positional.begin() + 1, positional.end());
    if (rest.size() < form.arguments || rest.size() > form.arguments + form.optionalArguments)
        return fail(std::string("usage: m7410-ctl [options] ") + form.usage);
    if ((batchFile || inv.keepGoing) && inv.command != Command::Batch)
        return fail("-f and --keep-going are for batch only");
    if (batchFile) inv.file = *batchFile;
    if (noVerify && inv.command != Command::Restore) return fail("--no-verify is for restore only");
    inv.verify = !noVerify;
    if (dryRun && inv.command != Command::EqImport && inv.command != Command::EqFit)
        return fail("--dry-run is for eq-import and eq-fit only");
    if (!inv.fit.given.empty() && inv.command != Command::EqFit)
        return fail(inv.fit.given.front() + " is for eq-fit only");
    inv.dryRun = dryRun;
    if (inv.all && inv.command != Command::Status && inv.command != Command::Recall &&
        inv.command != Command::Backup)
        return fail("--all is for status, recall and backup only");
    if (inv.all && (inv.direct || !inv.unit.empty()))
        return fail("--all goes to every served unit; leave out --direct and --unit");
    if (std::string why = takeArguments(inv, rest); !why.empty()) return fail(why);
    return {inv, {}};
}

} // namespace

bool readsStandardInput(const Invocation& inv) {
    switch (inv.command) {
    case Command::Restore:
    case Command::LoadCurrent:
    case Command::EqImport:
    case Command::Show:
    case Command::Diff:
        return inv.file == "-" || inv.otherFile == "-";
    default:
        return false;
    }
}

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args) {
    ParsedCommandLine parsed = parseArguments(args);
    if (parsed.invocation) {
        parsed.json = parsed.invocation->json;
    } else {
        const auto end = std::find(args.begin(), args.end(), "--");
        parsed.json = std::find(args.begin(), end, "--json") != end;
    }
    return parsed;
}

} // namespace m7410
