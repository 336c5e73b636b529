#include "CtlBench.h"

#include "presets/PresetFileReader.h"
#include "protocol/Frame.h"
#include "unit/ParameterPaths.h"

#include <QTemporaryDir>

#include <fstream>

namespace m7410::test {
namespace {

class CtlFlow : public testing::TestWithParam<Face> {
protected:
    CtlBench bench{GetParam()};
    QTemporaryDir dir;
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    void TearDown() override { EXPECT_EQ(bench.unit.malformedFrames(), 0); }
};

// The last line on standard error: progress lines come before it.
std::string lastLine(const std::string& text) {
    const std::vector<std::string> all = lines(text);
    return all.empty() ? std::string() : all.back();
}

std::vector<std::string> fileLines(const std::string& file) {
    std::vector<std::string> out;
    std::string error;
    readPresetFile(file, out, error);
    return out;
}

TEST_P(CtlFlow, StatusShowsLinkPresetNamesAndBass) {
    bench.unit.setBassOn(true);
    bench.unit.setCurrentPresetNumber(4);
    const CtlResult r = bench.run({"status"});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    const std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 24u) << r.out;
    EXPECT_EQ(out[0].rfind("link: ", 0), 0u);
    EXPECT_EQ(out[1], "current preset: 4 " + bench.unit.currentName());
    EXPECT_EQ(out[2], "bass +: on");
    EXPECT_EQ(out[4], "   1 " + bench.unit.presetName(1));
    EXPECT_EQ(out[23], "  20 " + bench.unit.presetName(20));

    const CtlResult j = bench.run({"status", "--json"});
    ASSERT_EQ(j.code, ExitOk);
    EXPECT_NE(j.out.find("\"bassOn\":true"), std::string::npos) << j.out;
    EXPECT_NE(j.out.find("{\"name\":\"" + bench.unit.presetName(20) + "\",\"slot\":20}"),
              std::string::npos)
        << j.out;
}

TEST_P(CtlFlow, BackupRestoresIntoAFreshUnitAndVerifies) {
    // Twenty sets that differ in a parameter and in the name.
    for (int n = 1; n <= 20; ++n) {
        BlockData b = bench.unit.preset(n);
        b[0] = static_cast<uint8_t>(100 + n);
        setBlockName(b, "Slot " + std::to_string(n));
        bench.unit.setPreset(n, b);
    }
    const std::string file = path("show");
    const CtlResult backup = bench.run({"backup", file, "--json"});
    ASSERT_EQ(backup.code, ExitOk) << backup.err;
    EXPECT_NE(backup.out.find("{\"name\":\"Slot 7\",\"slot\":7}"), std::string::npos);
    const std::vector<std::string> records = fileLines(file);
    ASSERT_EQ(records.size(), 20u);
    for (int n = 1; n <= 20; ++n)
        EXPECT_EQ(blockDataFromText(records[n - 1]), bench.unit.preset(n)) << n;

    CtlBench spare(GetParam());
    ASSERT_NE(spare.unit.preset(3), bench.unit.preset(3));
    const CtlResult restore = spare.run({"restore", file});
    ASSERT_EQ(restore.code, ExitOk) << restore.err;
    EXPECT_EQ(restore.out, "restored 20 presets, verified\n");
    for (int n = 1; n <= 20; ++n)
        EXPECT_EQ(spare.unit.preset(n), bench.unit.preset(n)) << n;
    // Written once, read back once.
    EXPECT_EQ(spare.unit.framesReceived(KindWrite, CodePresetBlock), 20);
    EXPECT_EQ(spare.unit.framesReceived(KindRequest, CodePresetBlock), 20);
    EXPECT_EQ(spare.unit.malformedFrames(), 0);
}

TEST_P(CtlFlow, RestoreNamesTheSlotTheUnitStoredWrongly) {
    const std::string file = path("show");
    ASSERT_EQ(bench.run({"backup", file}).code, ExitOk);
    CtlBench spare(GetParam());
    spare.unit.faults().corruptPresetWrite = 7;
    const CtlResult r = spare.run({"restore", file, "--json"});
    // Written, but not as the file holds: told apart from "nothing was written".
    EXPECT_EQ(r.code, ExitNotVerified);
    EXPECT_EQ(lastLine(r.err),
              "m7410-ctl: restore not verified: preset 7 read back differently from " + file);
    EXPECT_NE(r.out.find("\"differing\":[7]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"verified\":false"), std::string::npos) << r.out;

    // Without the read-back nothing is noticed.
    EXPECT_EQ(spare.run({"restore", file, "--no-verify"}).code, ExitOk);
}

TEST_P(CtlFlow, DamagedOrMissingFilesSendNothingAndExitOne) {
    const std::string damaged = path("damaged");
    std::ofstream(damaged) << std::string(664, 'A') << "\r\n";
    const CtlResult restore = bench.run({"restore", damaged});
    EXPECT_EQ(restore.code, ExitFailure);
    EXPECT_EQ(lastLine(restore.err).rfind("m7410-ctl: " + damaged + ": damaged", 0), 0u)
        << restore.err;
    const CtlResult missing = bench.run({"load-current", path("missing")});
    EXPECT_EQ(missing.code, ExitFailure);
    EXPECT_EQ(lines(missing.err).size(), 1u) << missing.err;
    // Refused before the unit is asked for anything.
    const int requests = bench.unit.framesReceived(KindRequest, CodePresetBlock);
    for (const std::string& target : {dir.path().toStdString(), path("no/such/folder/show")}) {
        const CtlResult unwritable = bench.run({"backup", target});
        EXPECT_EQ(unwritable.code, ExitFailure);
        EXPECT_EQ(lines(unwritable.err).size(), 1u) << unwritable.err;
    }
    EXPECT_EQ(bench.unit.framesReceived(KindRequest, CodePresetBlock), requests);
    EXPECT_EQ(bench.unit.framesReceived(KindWrite, CodePresetBlock), 0);
    EXPECT_EQ(bench.unit.framesReceived(KindWrite, CodeCurrentBlock), 0);
}

TEST_P(CtlFlow, SilentUnitEndsWithinTheStartUpTimeOuts) {
    bench.unit.faults().silent = true;
    const int64_t start = bench.clock.nowMs();
    const CtlResult r = bench.run({"status"});
    EXPECT_EQ(r.code, ExitFailure);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(lines(r.err).size(), 1u);
    EXPECT_NE(r.err.find("no answer from the unit"), std::string::npos) << r.err;
    EXPECT_LE(bench.clock.nowMs() - start, 2500 + 200);
}

TEST_P(CtlFlow, RecallStoreAndTheOneGroupFiles) {
    const CtlResult store = bench.run({"store", "5", "Club Night"});
    ASSERT_EQ(store.code, ExitOk) << store.err;
    EXPECT_EQ(bench.unit.presetName(5), "Club Night");
    EXPECT_EQ(bench.unit.preset(5), bench.unit.currentSet());

    const CtlResult recall = bench.run({"recall", "2"});
    ASSERT_EQ(recall.code, ExitOk) << recall.err;
    EXPECT_EQ(recall.out, "recalled preset 2: " + bench.unit.presetName(2) + "\n");
    EXPECT_EQ(bench.unit.currentPresetNumber(), 2);
    EXPECT_EQ(bench.unit.currentSet(), bench.unit.preset(2));

    const std::string file = path("current");
    ASSERT_EQ(bench.run({"save-current", file}).code, ExitOk);
    const std::vector<std::string> saved = fileLines(file);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(blockDataFromText(saved[0]), bench.unit.currentSet());

    ASSERT_EQ(bench.run({"recall", "3"}).code, ExitOk);
    const CtlResult load = bench.run({"load-current", file});
    ASSERT_EQ(load.code, ExitOk) << load.err;
    EXPECT_EQ(bench.unit.currentSet(), bench.unit.preset(2));

    // The unit stays silent on the store: reported, not taken for done.
    bench.unit.faults().drop[0] = 1;
    EXPECT_EQ(bench.run({"store", "6", "Lost"}).code, ExitFailure);
}

// A value for each kind of parameter, off the start values.
std::string valueFor(ParameterField field) {
    switch (field) {
    case ParameterField::Gain:
        return "-3.3";
    case ParameterField::Mute:
        return "on";
    case ParameterField::Polarity:
        return "-";
    case ParameterField::Delay:
        return "1.05";
    case ParameterField::Volume:
        return "-20";
    case ParameterField::HpfFreq:
        return "80";
    case ParameterField::LpfFreq:
        return "12k";
    case ParameterField::HpfType:
    case ParameterField::LpfType:
        return "24db-LR";
    case ParameterField::LimiterThreshold:
        return "-7";
    case ParameterField::LimiterAttack:
        return "4";
    case ParameterField::LimiterRelease:
        return "500ms";
    case ParameterField::EqType:
        return "HS6";
    case ParameterField::EqFreq:
        return "1234";
    case ParameterField::EqGain:
        return "-5.5";
    case ParameterField::EqQ:
        return "2.3";
    }
    return {};
}

TEST_P(CtlFlow, EverySetPathRoundTripsThroughGetAndReachesTheUnit) {
    std::vector<std::string> expected;
    for (const ParameterPath& p : allParameterPaths()) {
        const CtlResult set = bench.run({"set", p.path, valueFor(p.field)});
        ASSERT_EQ(set.code, ExitOk) << p.path << ": " << set.err;
        const CtlResult get = bench.run({"get", p.path});
        ASSERT_EQ(get.code, ExitOk) << p.path;
        EXPECT_EQ(get.out, set.out) << p.path;
        ChannelModel unit;
        decodeBlock(bench.unit.currentSet(), unit);
        EXPECT_EQ(p.path + " = " + readParameter(unit, p).text + "\n", set.out);
        expected.push_back(set.out.substr(0, set.out.size() - 1));
    }
    // One line a parameter, in the same order every time.
    EXPECT_EQ(lines(bench.run({"get", "all"}).out), expected);
}

TEST_P(CtlFlow, ValuesSnapToTheTablesAndTheirEnds) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"high.eq2.freq", "50"}, "high.eq2.freq = 49.6 Hz"},
        {{"high.eq2.freq", "96000"}, "high.eq2.freq = 21900 Hz"},
        {{"middle.hpf.freq", "1"}, "middle.hpf.freq = 19.7 Hz"},
        {{"high.gain", "+12"}, "high.gain = 0.0 dB"}, // the "High" row stops at 0 dB
        {{"low.gain", "12"}, "low.gain = 5.0 dB"},
        {{"low.gain", "-99"}, "low.gain = -20.0 dB"},
        {{"main.eq6.gain", "40"}, "main.eq6.gain = 12 dB"},
        {{"main.eq6.gain", "-0.31"}, "main.eq6.gain = -0.4 dB"},
        {{"main.eq6.q", "100"}, "main.eq6.q = 36"},
        {{"low.delay", "60"}, "low.delay = 9.744 ms"},
        {{"main.delay", "60"}, "main.delay = 5.040 ms"},
        {{"main.volume", "+6"}, "main.volume = 0.0 dB"},
        {{"main.volume", "mute"}, "main.volume = mute"},
        // Every unit after a space, though the unit's own lists write "-19dBu" and "90ms".
        {{"low.limiter.threshold", "-40dBu"}, "low.limiter.threshold = -19 dBu"},
        {{"low.limiter.threshold", "-7dBu"}, "low.limiter.threshold = -7 dBu"},
        {{"low.limiter.release", "100 ms"}, "low.limiter.release = 90 ms"},
        {{"low.limiter.release", "1200ms"}, "low.limiter.release = 1200 ms"},
        {{"high.limiter.attack", "0.4"}, "high.limiter.attack = 0.5 ms"},
        {{"low.limiter.release", "1e9"}, ""}, // not a decimal number: refused
    };
    for (const auto& [args, shown] : cases) {
        std::vector<std::string> line = {"set"};
        line.insert(line.end(), args.begin(), args.end());
        const CtlResult r = bench.run(line);
        if (shown.empty()) {
            EXPECT_EQ(r.code, ExitUsage) << args[0];
            continue;
        }
        EXPECT_EQ(r.code, ExitOk) << args[0] << r.err;
        EXPECT_EQ(r.out, shown + "\n");
    }
}

INSTANTIATE_TEST_SUITE_P(BothFaces, CtlFlow, testing::Values(Face::Hid, Face::Serial), faceName);

} // namespace
} // namespace m7410::test
