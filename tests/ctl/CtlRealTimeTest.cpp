#include "common/RealTime.h"

#include <QElapsedTimer>
#include <QProcess>

#include <gtest/gtest.h>

namespace m7410::test {
namespace {

struct ToolRun {
    int code = -1;
    QString out;
    QString err;
};

ToolRun ctl(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess p;
    p.start(QStringLiteral(M7410_CTL_PATH), arguments);
    if (p.waitForStarted(5000)) {
        p.write(input);
        p.closeWriteChannel();
    }
    ToolRun r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The installed program as a script runs it: m7410-sim at line speed on a pseudo-terminal,
// given with --port, on wall-clock time.
TEST(CtlRealTime, StatusSetAndGetOverAPseudoTerminal) {
    QProcess sim;
    const QString pty = startSimulator(sim);
    if (pty.isEmpty()) GTEST_SKIP() << "m7410-sim does not serve a pseudo-terminal";

    const ToolRun status = ctl({"--port", pty, "status"});
    EXPECT_EQ(status.code, 0) << status.err.toStdString();
    EXPECT_TRUE(status.out.startsWith("link: serial " + pty + "\n")) << status.out.toStdString();
    EXPECT_TRUE(status.out.contains("\n   1 Flat\n")) << status.out.toStdString();

    const ToolRun set = ctl({"--port", pty, "set", "middle.eq3.gain", "-4.15"});
    EXPECT_EQ(set.code, 0) << set.err.toStdString();
    EXPECT_EQ(set.out, "middle.eq3.gain = -4.2 dB\n");
    const ToolRun get = ctl({"--port", pty, "get", "middle.eq3.gain"});
    EXPECT_EQ(get.out, set.out);

    sim.terminate();
    sim.waitForFinished(3000);
}

// A scripted scene change: 24 EQ values over one link at line speed, where 24 separate starts
// of the tool would take over a minute.
TEST(CtlRealTime, BatchSetsTwentyFourEqValuesWithinFifteenSeconds) {
    QProcess sim;
    const QString pty = startSimulator(sim);
    if (pty.isEmpty()) GTEST_SKIP() << "m7410-sim does not serve a pseudo-terminal";
    QByteArray script;
    for (const char* channel : {"high", "middle", "low", "main"})
        for (int band = 1; band <= 6; ++band)
            script +=
                QStringLiteral("set %1.eq%2.gain -%3\n").arg(channel).arg(band).arg(band).toUtf8();
    QElapsedTimer elapsed;
    elapsed.start();
    const ToolRun batch = ctl({"--port", pty, "batch"}, script);
    const qint64 ms = elapsed.elapsed();
    EXPECT_EQ(batch.code, 0) << batch.err.toStdString();
    EXPECT_EQ(batch.out.count('\n'), 24) << batch.out.toStdString();
    EXPECT_TRUE(batch.out.endsWith("main.eq6.gain = -6 dB\n")) << batch.out.toStdString();
    EXPECT_LT(ms, 15000);
    const ToolRun get = ctl({"--port", pty, "get", "low.eq4.gain"});
    EXPECT_EQ(get.out, "low.eq4.gain = -4 dB\n");
    sim.terminate();
    sim.waitForFinished(3000);
}

// Which of the reasons a serial port does not open, said in words, with no unit about.
TEST(CtlRealTime, APortThatWillNotOpenSaysWhy) {
    const ToolRun missing = ctl({"--port", "/dev/ttyNoSuchPort9", "status", "--json"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains("/dev/ttyNoSuchPort9 does not exist"))
        << missing.err.toStdString();
    EXPECT_TRUE(missing.out.contains("\"problem\":\"missing\"")) << missing.out.toStdString();
    const ToolRun notSerial = ctl({"--port", "/dev/null", "status"});
    EXPECT_EQ(notSerial.code, 1);
    EXPECT_TRUE(notSerial.err.contains("/dev/null is not a serial port"))
        << notSerial.err.toStdString();
}

} // namespace
} // namespace m7410::test
