#include "common/RealTime.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace m7410::test {
namespace {

struct ToolRun {
    int code = -1;
    QString out;
    QString err;
};

ToolRun ctl(const QStringList& arguments) {
    QProcess p;
    p.start(QStringLiteral(M7410_CTL_PATH), arguments);
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

} // namespace
} // namespace m7410::test
