// m7410-ctl eq-fit (issue 26): the JSON of a dry run for each file format, the bands applied as
// eq-import applies them, and damaged measurements refused with one line and nothing sent.
#include "CtlBench.h"

#include "fit/EqFit.h"
#include "model/ValueTables.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace m7410::test {
namespace {

const std::string Data = M7410_FIT_DATA;
constexpr int High = 2;

ChannelBands startBands(int channel) {
    const ChannelModel start;
    ChannelBands bands;
    for (int row = 0; row < EqRowsPerChannel; ++row)
        bands[static_cast<std::size_t>(row)] = start.band(bandAddress(channel, row));
    return bands;
}

EqFit expectedFit(const std::string& file, const ChannelBands& current, double from, double to) {
    FitOptions o;
    o.fromHz = from;
    o.toHz = to;
    return fitChannel(readResponseFile(file), {}, current, o);
}

CtlResult withoutUnit(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CtlResult r;
    const std::optional<int> code = Ctl::withoutUnit(parseCommandLine(args), out, err);
    r.code = code.value_or(-1);
    r.out = out.str();
    r.err = err.str();
    return r;
}

TEST(CtlFit, DryRunJsonHasExactlyTheKeysForEachFormat) {
    const EqFit fit = expectedFit(Data + "/room.txt", startBands(High), 20, 400);
    ASSERT_TRUE(fit.error.empty());
    std::string first;
    for (const char* name : {"room.txt", "room.frd", "room.csv"}) {
        const std::string file = Data + "/" + name;
        const CtlResult r = withoutUnit(
            {"eq-fit", "high", file, "--from", "20", "--to", "400", "--dry-run", "--json"});
        ASSERT_EQ(r.code, ExitOk) << r.err;
        EXPECT_TRUE(r.err.empty()) << r.err;
        ASSERT_EQ(lines(r.out).size(), 1u) << r.out;
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out;
        const QJsonObject o = doc.object();
        const QStringList keys = o.keys();
        EXPECT_EQ(std::set<QString>(keys.begin(), keys.end()),
                  (std::set<QString>{"bands", "rms_before", "rms_after", "rms_fit_then_round",
                                     "max_error", "max_error_freq", "from", "to"}));
        EXPECT_EQ(o["from"].toDouble(), 20.0);
        EXPECT_EQ(o["to"].toDouble(), 400.0);
        EXPECT_NEAR(o["rms_after"].toDouble(), fit.after.rms, 5e-4);
        EXPECT_NEAR(o["rms_before"].toDouble(), fit.before.rms, 5e-4);
        EXPECT_NEAR(o["rms_fit_then_round"].toDouble(), fit.fitThenRound.rms, 5e-4);
        EXPECT_NEAR(o["max_error"].toDouble(), fit.after.maxError, 5e-4);
        EXPECT_NEAR(o["max_error_freq"].toDouble(), fit.after.maxErrorHz, 0.05);
        EXPECT_LE(o["rms_after"].toDouble(), o["rms_fit_then_round"].toDouble());
        const QJsonArray bands = o["bands"].toArray();
        ASSERT_EQ(bands.size(), EqRowsPerChannel);
        for (int row = 0; row < EqRowsPerChannel; ++row) {
            const QJsonObject b = bands[row].toObject();
            const QStringList bandKeys = b.keys();
            EXPECT_EQ(std::set<QString>(bandKeys.begin(), bandKeys.end()),
                      (std::set<QString>{"band", "type", "freq", "gain", "q"}));
            const EqBand& e = fit.bands[static_cast<std::size_t>(row)];
            EXPECT_EQ(b["band"].toInt(), row + 1);
            EXPECT_EQ(b["type"].toString().toStdString(), EqTypeList[e.type]);
            EXPECT_EQ(b["freq"].toDouble(), FreqTable[e.freq]);
            EXPECT_EQ(b["gain"].toDouble(), EqGainTable[e.gainInForce()]);
            EXPECT_EQ(b["q"].toDouble(), QTable[e.q]);
        }
        if (first.empty()) first = r.out;
        EXPECT_EQ(r.out, first) << name << " fits differently";
    }
}

TEST(CtlFit, DryRunTextListsTheBandsAndBothFigures) {
    const CtlResult r = withoutUnit({"eq-fit", "low", Data + "/room.csv", "--dry-run"});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    const std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 9u) << r.out;
    EXPECT_EQ(out[0].rfind("Low EQ fitted to " + Data + "/room.csv over 20 .. 20000 Hz (", 0), 0u);
    EXPECT_EQ(out[1].rfind("band 1  ", 0), 0u);
    EXPECT_NE(out[7].find("with fit then round"), std::string::npos);
    EXPECT_NE(out[7].find("with the table search"), std::string::npos);
    EXPECT_EQ(out[8].rfind("largest error: ", 0), 0u);
}

TEST(CtlFit, UsageErrors) {
    const std::string room = Data + "/room.txt";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"eq-fit", "bass", room},
          {"eq-fit", "high", room, "--max-boost", "13"},
          {"eq-fit", "high", room, "--from", "x"},
          {"eq-fit", "high", room, "--from", "400", "--to", "100"},
          {"eq-fit", "high", room, "--keep", "0"},
          {"eq-fit", "high", room, "--keep", "1,,2"},
          {"eq-fit", "high", room, "--target"},
          {"eq-fit", "high"},
          {"eq-import", "high", room, "--cut-only"}}) {
        const CtlResult r = withoutUnit(args);
        EXPECT_EQ(r.code, ExitUsage) << args.back();
        EXPECT_EQ(lines(r.err).size(), 2u) << r.err;
    }
}

class CtlFitOnUnit : public testing::TestWithParam<Face> {
protected:
    CtlBench bench{GetParam()};
    QTemporaryDir dir;
    std::string file(const char* name, const std::string& text) const {
        const std::string p = dir.filePath(name).toStdString();
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }
    void TearDown() override { EXPECT_EQ(bench.unit.malformedFrames(), 0); }
};

TEST_P(CtlFitOnUnit, AppliesTheFittedBandsAsEqImportDoes) {
    // A band the unit holds that the fit must keep.
    ASSERT_EQ(bench.run({"set", "high.eq2.freq", "500"}).code, ExitOk);
    ASSERT_EQ(bench.run({"set", "high.eq2.gain", "-3"}).code, ExitOk);
    const ChannelBands before = unitBands(bench.unit, High);
    const std::string room = Data + "/room.frd";
    FitOptions o;
    o.fromHz = 20.0;
    o.toHz = 400.0;
    o.keep[1] = true;
    const EqFit fit = fitChannel(readResponseFile(room), {}, before, o);
    ASSERT_TRUE(fit.error.empty());
    const CtlResult r = bench.run({"eq-fit", "high", room, "--from", "20", "--to", "400", "--keep", "2"});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    EXPECT_EQ(lines(r.out).back(), "applied to the High EQ");
    EXPECT_EQ(unitBands(bench.unit, High), fit.bands);
    EXPECT_EQ(unitBands(bench.unit, High)[1], before[1]);

    // --json without --dry-run: the JSON alone on standard output.
    const CtlResult json = bench.run({"eq-fit", "high", room, "--cut-only", "--json"});
    ASSERT_EQ(json.code, ExitOk) << json.err;
    ASSERT_EQ(lines(json.out).size(), 1u) << json.out;
    const QJsonObject o2 = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
    for (const QJsonValue b : o2["bands"].toArray())
        EXPECT_LE(b.toObject()["gain"].toDouble(), 0.0);
}

TEST_P(CtlFitOnUnit, DamagedMeasurementsAreRefusedWithOneLineAndNothingSent) {
    const std::string large = file("large.txt", "20 80\n");
    std::filesystem::resize_file(large, 16 * 1024 * 1024 + 1);
    const std::string fifo = dir.filePath("pipe").toStdString();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string few;
    for (int k = 0; k < 9; ++k)
        few += std::to_string(30 + 10 * k) + " 80\n";
    struct Case {
        std::string file;
        std::string reason; // the end of the one line
    };
    const std::vector<Case> cases = {
        {file("text.txt", "* c\nHz dB\n20 80\n30 eighty\n"), "line 4: 'eighty' is not a number"},
        {file("nan.frd", "20 80\n30 nan\n"), "line 2: 'nan' is not a finite number"},
        {file("inf.csv", "Hz,dB\n20,80\ninf,81\n"), "line 3: 'inf' is not a finite number"},
        {file("zero.frd", "20 80\n0 81\n"), "line 2: the frequency '0' is not above 0 Hz"},
        {file("neg.frd", "20 80\n-20 81\n"), "line 2: the frequency '-20' is not above 0 Hz"},
        {file("level.frd", "20 80\n30\n"), "line 2: a frequency without a level"},
        {file("few.frd", few),
         "only 9 points of the measurement lie in 20 .. 20000 Hz; the fit needs at least 10"},
        {dir.path().toStdString(), "not a plain file"},
        {fifo, "not a plain file"},
        {large, "larger than 16 MiB, so not a measurement"},
        {dir.filePath("missing.txt").toStdString(), "no such file"},
    };
    const ChannelBands before = unitBands(bench.unit, High);
    for (const Case& c : cases) {
        for (bool dryRun : {true, false}) {
            const int frames = bench.unit.framesReceived();
            const int writes = bench.unit.framesReceived(KindWrite, High);
            std::vector<std::string> args = {"eq-fit", "high", c.file};
            if (dryRun) args.push_back("--dry-run");
            const CtlResult r = bench.run(args);
            EXPECT_EQ(r.code, ExitFailure) << c.file;
            const std::vector<std::string> err = lines(r.err);
            ASSERT_EQ(err.size(), 1u) << r.err;
            EXPECT_EQ(err[0], "m7410-ctl: " + c.file + ": " + c.reason);
            EXPECT_TRUE(r.out.empty()) << r.out;
            EXPECT_EQ(bench.unit.framesReceived(KindWrite, High), writes);
            // A file that cannot be read stops the command before the unit is opened.
            if (c.reason.rfind("only", 0) != 0) {
                EXPECT_EQ(bench.unit.framesReceived(), frames);
            }
        }
    }
    // A damaged target likewise.
    const CtlResult target =
        bench.run({"eq-fit", "high", Data + "/room.txt", "--target", cases[1].file});
    EXPECT_EQ(target.code, ExitFailure);
    EXPECT_EQ(target.err, "m7410-ctl: " + cases[1].file + ": " + cases[1].reason + " (the target)\n");
    EXPECT_EQ(unitBands(bench.unit, High), before);
}

INSTANTIATE_TEST_SUITE_P(BothFaces, CtlFitOnUnit, testing::Values(Face::Hid, Face::Serial),
                         faceName);

} // namespace
} // namespace m7410::test
