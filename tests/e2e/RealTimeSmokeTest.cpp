#include "common/RealTime.h"
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

// The engine on wall-clock time and a real serial port: m7410-sim on a pseudo-terminal at
// line speed, the port given as the last entry of the list, as --port does.
TEST(RealTime, ConnectsToTheSimulatorOnAPseudoTerminalAndSynchronises) {
    QProcess sim;
    const QString path = startSimulator(sim);
    if (path.isEmpty()) GTEST_SKIP() << "m7410-sim does not serve a pseudo-terminal";

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
        EXPECT_EQ(engine.session.currentPresetName().empty(), false);
        EXPECT_FALSE(view.disconnectedShown);
        EXPECT_EQ(engine.session.linkOpen(), 1);
        engine.connection.Button3Click();
        EXPECT_EQ(engine.connection.caption(), "Disconnect");
    }
    sim.terminate();
    sim.waitForFinished(3000);
}

} // namespace
} // namespace m7410::test
