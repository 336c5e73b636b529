#include "link/ConnectionAssembly.h"
#include "link/VirtualHidBackend.h"
#include "protocol/RecordingView.h"
#include "support/RealClock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <gtest/gtest.h>

namespace m7410::test {
namespace {

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "test_e2e";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

bool processUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// The engine on wall-clock time and a real serial port: m7410-sim on a pseudo-terminal at
// line speed, the port given as the last entry of the list, as --port does.
TEST(RealTime, ConnectsToTheSimulatorOnAPseudoTerminalAndSynchronises) {
    app();
    QProcess sim;
    sim.start(QStringLiteral(M7410_SIM_PATH), {"--quiet"});
    if (!sim.waitForStarted(5000)) GTEST_SKIP() << "m7410-sim does not start";
    QByteArray firstLine;
    processUntil(
        [&] {
            firstLine += sim.readAllStandardOutput();
            return firstLine.contains('\n');
        },
        5000);
    const QString path = QString::fromLocal8Bit(firstLine).trimmed();
    if (path.isEmpty()) GTEST_SKIP() << "m7410-sim has no pseudo-terminal";

    RealClock clock;
    RecordingView view;
    VirtualHidBackend noUsb;
    {
        ConnectionAssembly engine(clock, view, noUsb, [] {
            return std::optional<std::vector<SerialPortEntry>>(std::vector<SerialPortEntry>{});
        });
        engine.portList.setExtraPorts({path});
        engine.connection.Button3Click();
        EXPECT_EQ(engine.connection.caption(), "Connect");
        EXPECT_EQ(view.status, "  Connecting" + path.toStdString());
        ASSERT_TRUE(processUntil(
            [&] { return view.presetNumber != 1 || view.loadList.size() == 20; }, 8000));
        // Names in, then the system record through the scheduler, then a poll or two.
        processUntil([] { return false; }, 1500);
        EXPECT_EQ(view.loadList.size(), 20u);
        EXPECT_EQ(view.loadList.at(0).rfind("Pre1:", 0), 0u);
        EXPECT_EQ(engine.session.currentPresetName.empty(), false);
        EXPECT_FALSE(view.disconnectedShown);
        EXPECT_EQ(engine.session.linkOpen, 1);
        engine.connection.Button3Click();
        EXPECT_EQ(engine.connection.caption(), "Disconnect");
    }
    sim.terminate();
    sim.waitForFinished(3000);
}

} // namespace
} // namespace m7410::test
