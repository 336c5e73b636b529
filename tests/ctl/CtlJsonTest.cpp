// --json: every command prints one object, failures included, and exits as it would without.
#include "CtlBench.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <fstream>

namespace m7410::test {
namespace {

const std::string Data = M7410_EQTEXT_DATA;

// The one line on standard output as an object; a test failure when there is not exactly one.
QJsonObject onlyObject(const CtlResult& r, const std::string& what) {
    const std::vector<std::string> out = lines(r.out);
    EXPECT_EQ(out.size(), 1u) << what << ":\n" << r.out << r.err;
    if (out.empty()) return {};
    QJsonParseError e{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(out[0]), &e);
    EXPECT_TRUE(doc.isObject()) << what << ": " << out[0];
    return doc.object();
}

std::vector<std::string> withJson(std::vector<std::string> args) {
    args.push_back("--json");
    return args;
}

TEST(CtlJson, EveryCommandPrintsOneObjectAndFailuresAreErrorObjects) {
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(name).toStdString(); };
    CtlBench bench(Face::Serial);
    ASSERT_EQ(bench.run({"backup", path("all.m7410")}).code, ExitOk);
    ASSERT_EQ(bench.run({"save-current", path("one.m7410")}).code, ExitOk);
    const std::string noFilter = path("none.txt");
    std::ofstream(noFilter) << "Filter 1: ON LP Fc 80 Hz\n";
    const std::string damaged = path("damaged.m7410");
    std::ofstream(damaged) << std::string(664, 'A') << "\r\n";

    // Each command, then the error kind it should give (empty: it succeeds).
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"status"}, ""},
        {{"get", "high"}, ""},
        {{"get", "low.eq2.q"}, ""},
        {{"set", "low.gain", "-2"}, ""},
        {{"recall", "2"}, ""},
        {{"store", "9", "Night"}, ""},
        {{"backup", path("again.m7410")}, ""},
        {{"save-current", path("again-one.m7410")}, ""},
        {{"load-current", path("one.m7410")}, ""},
        {{"restore", path("all.m7410"), "--no-verify"}, ""},
        {{"eq-export", "main"}, ""},
        {{"eq-import", "main", Data + "/apo-config.txt"}, ""},
        {{"eq-import", "main", Data + "/apo-config.txt", "--dry-run"}, ""},
        {{"show", path("all.m7410")}, ""},
        {{"diff", path("one.m7410"), path("again-one.m7410")}, ""},
        {{"diff", path("all.m7410")}, ""},
        {{"store", "8", ""}, "usage"},
        {{"frobnicate"}, "usage"},
        {{"restore", damaged}, "file-damaged"},
        {{"load-current", path("missing")}, "file-not-readable"},
        {{"backup", dir.path().toStdString()}, "file-not-written"},
        {{"eq-import", "low", noFilter}, "file"},
        {{"eq-import", "low", noFilter, "--dry-run"}, "file"},
        {{"show", noFilter}, "file"},
    };
    for (const auto& [args, kind] : cases) {
        std::string what;
        for (const std::string& a : args)
            what += a + " ";
        const CtlResult plain = bench.run(args);
        const CtlResult json = bench.run(withJson(args));
        EXPECT_EQ(json.code, plain.code) << what << json.err;
        EXPECT_EQ(json.code == ExitOk, kind.empty()) << what << json.err;
        const QJsonObject o = onlyObject(json, what);
        if (kind.empty()) {
            EXPECT_FALSE(o.contains("error")) << what << json.out;
            continue;
        }
        const QJsonObject e = o["error"].toObject();
        EXPECT_EQ(e["kind"].toString().toStdString(), kind) << what << json.out;
        // The message is the line standard error shows.
        EXPECT_NE(json.err.find(e["message"].toString().toStdString()), std::string::npos)
            << what << json.err;
    }

    // The EQ import tells the whole preview in its object, the preamp not applied included.
    const QJsonObject eq =
        onlyObject(bench.run({"eq-import", "main", Data + "/apo-config.txt", "--json"}), "eq");
    EXPECT_TRUE(eq["applied"].toBool());
    EXPECT_FALSE(eq["preamp"].toObject()["applied"].toBool(true));
    EXPECT_EQ(eq["skipped"].toArray().size(), 5);
    EXPECT_EQ(eq["bands"].toArray().size(), 6);

    // A silent unit: the time-out is an error object too.
    bench.unit.faults().silent = true;
    const CtlResult silent = bench.run({"status", "--json"});
    EXPECT_EQ(silent.code, ExitFailure);
    EXPECT_EQ(onlyObject(silent, "silent")["error"].toObject()["kind"].toString(), "time-out");
    EXPECT_EQ(bench.unit.malformedFrames(), 0);
}

} // namespace
} // namespace m7410::test
