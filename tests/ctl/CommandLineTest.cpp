#include "ctl/CommandLine.h"
#include "ctl/Ctl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace m7410::test {
namespace {

ParsedCommandLine parse(std::vector<std::string> args) {
    return parseCommandLine(args);
}

TEST(CtlCommandLine, WrongLinesAreUsageErrorsWithOneLineSayingWhy) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"--json"},
        {"reboot"},
        {"status", "extra"},
        {"backup"},
        {"recall", "0"},
        {"recall", "21"},
        {"recall", "3x"},
        {"store", "4", "Sixteen chars ok"},
        {"store", "4", "caf\xc3\xa9"},
        {"store", "4", "tab\there"},
        {"store", "8", ""},
        {"store", "8", "   "},
        {"get", "high.volume"},
        {"get", "treble.gain"},
        {"set", "high.gain", "loud"},
        {"set", "high.mute", "maybe"},
        {"set", "low.hpf.type", "48db-LR"}, // only the "High" row offers the 48 dB types
        {"set", "high.eq1.type", "notch"},
        {"set", "high.eq1.freq", "nan"},
        {"set", "high.eq1.gain", "+-3"},
        {"backup", "x", "--no-verify"},
        {"status", "--port"},
        {"status", "--frobnicate"},
        {"show"},
        {"diff", "a", "b", "c"},
        {"diff", "-", "-"},
        {"status", "--keep-going"},
        {"status", "-f", "script"},
        {"batch", "-f"},
        {"batch", "extra"},
        {"get", "high.eq7"},
        {"get", "hig"},
    };
    for (const auto& args : wrong) {
        std::ostringstream out, err;
        const std::optional<int> code = Ctl::withoutUnit(parse(args), out, err);
        std::string line;
        for (const auto& a : args)
            line += a + " ";
        ASSERT_TRUE(code.has_value()) << line;
        EXPECT_EQ(*code, ExitUsage) << line;
        // With --json the error is an object on standard output as well.
        const bool json = std::find(args.begin(), args.end(), "--json") != args.end();
        if (json)
            EXPECT_EQ(out.str().rfind("{\"error\":{\"kind\":\"usage\",\"message\":", 0), 0u)
                << line << out.str();
        else
            EXPECT_TRUE(out.str().empty()) << line;
        EXPECT_EQ(err.str().rfind("m7410-ctl: ", 0), 0u) << line << err.str();
    }
}

TEST(CtlCommandLine, TakesOptionsAnywhereAndNegativeNumbersAsValues) {
    const ParsedCommandLine p =
        parse({"set", "--port", "/dev/pts/7", "high.gain", "-3.5", "--json"});
    ASSERT_TRUE(p.invocation) << p.error;
    EXPECT_EQ(p.invocation->command, Command::Set);
    EXPECT_EQ(p.invocation->path, "high.gain");
    EXPECT_EQ(p.invocation->value, "-3.5");
    EXPECT_TRUE(p.invocation->json);
    EXPECT_EQ(p.invocation->ports, std::vector<std::string>{"/dev/pts/7"});

    const ParsedCommandLine r = parse({"--demo", "restore", "f", "--no-verify"});
    ASSERT_TRUE(r.invocation);
    EXPECT_TRUE(r.invocation->demo);
    EXPECT_FALSE(r.invocation->verify);

    const ParsedCommandLine s = parse({"store", "20", "Main Hall 15ch!"});
    ASSERT_TRUE(s.invocation) << s.error;
    EXPECT_EQ(s.invocation->slot, 20);
    EXPECT_EQ(s.invocation->name, "Main Hall 15ch!");
    EXPECT_EQ(parse({"store", "8", ""}).error, "NAME must not be empty");
}

TEST(CtlCommandLine, HelpListsEveryCommandWithExamples) {
    std::ostringstream out, err;
    EXPECT_EQ(Ctl::withoutUnit(parse({"--help"}), out, err), std::optional<int>(ExitOk));
    for (const char* command :
         {"status", "backup FILE", "restore FILE", "save-current FILE", "load-current FILE",
          "recall N", "store N NAME", "get PATH", "set PATH VALUE", "show FILE",
          "diff FILE [FILE2]", "batch [-f FILE]", "--keep-going", "--quiet", "Examples:"})
        EXPECT_NE(out.str().find(command), std::string::npos) << command;
    EXPECT_FALSE(Ctl::withoutUnit(parse({"status"}), out, err).has_value());
    // The 48 dB crossover types are offered on the "High" row only, and said so.
    const std::string help = out.str();
    std::size_t at = 0;
    int mentions = 0;
    while ((at = help.find("48db", at)) != std::string::npos) {
        const std::size_t lineStart = help.rfind('\n', at) + 1;
        EXPECT_NE(help.substr(lineStart, at - lineStart).find("on high"), std::string::npos)
            << help.substr(lineStart, help.find('\n', at) - lineStart);
        at = help.find('\n', at);
        ++mentions;
    }
    EXPECT_EQ(mentions, 1);
}

} // namespace
} // namespace m7410::test
