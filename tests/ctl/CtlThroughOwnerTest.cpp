// m7410-ctl's commands through a program that serves the unit: the same output as on an own
// link, the owner's link untouched, and watch printing what another program changes.
#include "share/ShareRig.h"

#include "ctl/CommandLine.h"
#include "ctl/ConsoleView.h"
#include "ctl/Ctl.h"
#include "protocol/Frame.h"

#include <QLocalServer>

#include <sstream>

namespace m7410::test {
namespace {

class CtlThroughOwner : public ShareRig {
public:
    struct Run {
        int code = -1;
        std::string out;
        std::string err;
    };
    Run ctl(const std::vector<std::string>& args, std::function<bool()> interrupted = [] { return false; }) {
        const ParsedCommandLine parsed = parseCommandLine(args);
        EXPECT_TRUE(parsed.invocation) << parsed.error;
        std::ostringstream out;
        std::ostringstream err;
        ConsoleView view(err, false);
        auto c = client();
        c->setProgressView(&view);
        Ctl tool(*c, view, out, err);
        tool.setInterrupted(std::move(interrupted));
        Run r;
        r.code = tool.run(*parsed.invocation);
        r.out = out.str();
        r.err = err.str();
        return r;
    }
};

TEST_F(CtlThroughOwner, CommandsWorkAndTheOwnersLinkStaysOpen) {
    const Run status = ctl({"--json", "status"});
    EXPECT_EQ(status.code, ExitOk) << status.err;
    EXPECT_NE(status.out.find("\"link\":\"USB "), std::string::npos) << status.out;

    const std::size_t before = sim.receivedLog().size();
    const Run set = ctl({"set", "high.gain", "-3"});
    EXPECT_EQ(set.code, ExitOk) << set.err;
    EXPECT_EQ(set.out, "high.gain = -3.0 dB\n");
    int writes = 0;
    for (std::size_t k = before; k < sim.receivedLog().size(); ++k)
        writes += sim.receivedLog()[k].size() > 4 && sim.receivedLog()[k][4] == KindWrite;
    EXPECT_EQ(writes, 1) << "one parameter frame for one set";

    const Run get = ctl({"get", "high.gain"});
    EXPECT_EQ(get.out, "high.gain = -3.0 dB\n");
    const Run recall = ctl({"recall", "2"});
    EXPECT_EQ(recall.code, ExitOk) << recall.err;
    EXPECT_EQ(recall.out, "recalled preset 2: " + sim.presetName(2) + "\n");

    const std::string file = this->file("show.m7410");
    EXPECT_EQ(ctl({"backup", file}).code, ExitOk);
    const Run restore = ctl({"restore", file});
    EXPECT_EQ(restore.code, ExitOk) << restore.err;
    EXPECT_EQ(restore.out, "restored 20 presets, verified\n");
    EXPECT_TRUE(unit.isConnected());
}

TEST_F(CtlThroughOwner, AnInterruptedRestoreStopsInTheOwnerAndSaysWhatWasWritten) {
    const std::string file = this->file("show.m7410");
    for (int n = 1; n <= 20; ++n) {
        BlockData b = sim.preset(n);
        setBlockName(b, "New " + std::to_string(n));
        sim.setPreset(n, b);
    }
    ASSERT_EQ(ctl({"backup", file}).code, ExitOk);
    for (int n = 1; n <= 20; ++n) {
        BlockData b = sim.preset(n);
        setBlockName(b, "Old " + std::to_string(n));
        sim.setPreset(n, b);
    }
    const Run r = ctl({"restore", file}, [&] { return sim.presetName(8) == "New 8"; });
    EXPECT_EQ(r.code, ExitInterrupted);
    EXPECT_NE(r.err.find("m7410-ctl: interrupted: presets 1-8 were written from " + file +
                         ", presets 9-20 keep what they held\n"),
              std::string::npos)
        << r.err;
    // The owner stopped too: nothing more reaches the unit, and it serves the next request.
    for (int i = 0; i < 300; ++i)
        pump(10);
    EXPECT_EQ(sim.presetName(9).rfind("Old", 0), 0u) << sim.presetName(9);
    EXPECT_FALSE(unit.isBusy());
    EXPECT_TRUE(unit.isConnected());
    EXPECT_EQ(ctl({"status"}).code, ExitOk);

}

TEST_F(CtlThroughOwner, AnOwnerThatDoesNotAnswerTheStopMayStillBeWriting) {
    // An owner that answers everything but a restore and its cancel.
    QLocalServer mute;
    ASSERT_TRUE(mute.listen(runtime.filePath("mute")));
    bool restoreAsked = false;
    QObject::connect(&mute, &QLocalServer::newConnection, [&] {
        QLocalSocket* s = mute.nextPendingConnection();
        s->write(R"({"v":1,"event":"hello","protocol":1,"client":1,"pid":1,"unit":"USB x"})" "\n");
        QObject::connect(s, &QLocalSocket::readyRead, [&, s] {
            while (s->canReadLine()) {
                const QJsonObject r = QJsonDocument::fromJson(s->readLine()).object();
                const QString method = r.value("method").toString();
                restoreAsked = restoreAsked || method == "restore";
                if (method == "restore" || method == "cancel") continue;
                const QJsonObject value{{"connected", true}, {"parameters", QJsonObject()}};
                s->write(QJsonDocument(QJsonObject{{"v", 1}, {"id", r.value("id")}, {"value", value}})
                             .toJson(QJsonDocument::Compact) + "\n");
            }
        });
    });
    UnitClient c([this](int ms) { pump(ms); });
    QString error;
    ASSERT_TRUE(c.open(mute.fullServerName(), error)) << error.toStdString();
    std::ostringstream out;
    std::ostringstream err;
    ConsoleView view(err, false);
    Ctl tool(c, view, out, err);
    tool.setInterrupted([&] { return restoreAsked; });
    const std::string file = this->file("show.m7410");
    ASSERT_EQ(ctl({"backup", file}).code, ExitOk);
    const int64_t start = clock.nowMs();
    EXPECT_EQ(tool.run(*parseCommandLine({"restore", file}).invocation), ExitInterrupted);
    EXPECT_NE(err.str().find("interrupted: the program serving the unit did not answer; it may "
                             "still be writing presets from " + file),
              std::string::npos)
        << err.str();
    // Bounded: about two seconds of waiting for the answer.
    EXPECT_LE(clock.nowMs() - start, 2500);
}

TEST_F(CtlThroughOwner, WatchPrintsAnotherProgramsChange) {
    auto other = client();
    int slices = 0;
    // The other program sets a value once the watch runs; the watch stops a virtual second on.
    const Run watch = ctl({"--json", "watch"}, [&] {
        if (slices++ == 1)
            other->setParameter(*findParameterPath("middle.mute"), 0, [](UnitResult<Done>) {});
        return slices > 50;
    });
    EXPECT_EQ(watch.code, ExitOk) << watch.err;
    EXPECT_NE(watch.out.find(R"("event":"parameter")"), std::string::npos) << watch.out;
    EXPECT_NE(watch.out.find(R"("path":"middle.mute")"), std::string::npos) << watch.out;
    EXPECT_NE(watch.out.find(R"("origin":"client")"), std::string::npos) << watch.out;
}

TEST(SharingOptions, AreCheckedWithTheCommandLine) {
    const ParsedCommandLine all = parseCommandLine({"--all", "--json", "recall", "2"});
    ASSERT_TRUE(all.invocation) << all.error;
    EXPECT_TRUE(all.invocation->all);
    const ParsedCommandLine unit = parseCommandLine({"--unit", "serial-dev-ttyUSB0", "get", "high.gain"});
    ASSERT_TRUE(unit.invocation) << unit.error;
    EXPECT_EQ(unit.invocation->unit, "serial-dev-ttyUSB0");
    EXPECT_EQ(parseCommandLine({"--direct", "serve"}).invocation->command, Command::Serve);
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--all", "set", "high.gain", "1"}, {"--all", "--direct", "status"},
          {"--unit", "../x", "status"}, {"--unit"}, {"watch", "now"}}) {
        EXPECT_FALSE(parseCommandLine(wrong).invocation) << wrong.front();
    }
}

} // namespace
} // namespace m7410::test
