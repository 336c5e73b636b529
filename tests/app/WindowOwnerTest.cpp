// The window as its unit's owner: another program's change through the window's socket shows
// in the window's controls and starts the edit history anew.
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "app/WindowOwner.h"
#include "editing/EditHistory.h"
#include "editing/EditMenu.h"
#include "panels/ChannelGroup.h"
#include "share/UnitClient.h"
#include "share/UnitServer.h"
#include "unit/ParameterPaths.h"

#include <QTemporaryDir>

namespace m7410::test {
namespace {

class WindowOwnerTest : public WindowFixture {
protected:
    QTemporaryDir runtime;
    QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");

    void SetUp() override { qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit()); }
    void TearDown() override {
        window.reset();
        if (savedRuntime.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", savedRuntime);
    }
    void pump(int ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        clock.PumpWait(ms);
    }
};

TEST_F(WindowOwnerTest, AnotherProgramsChangeShowsInTheWindow) {
    serveUnit = true;
    MainWindow& w = connectedWindow();
    UnitServer* server = probe().server();
    ASSERT_NE(server, nullptr);
    ASSERT_TRUE(server->isListening());

    UnitClient other([this](int ms) { pump(ms); });
    QString error;
    ASSERT_TRUE(other.open(server->socketPath(), error)) << error.toStdString();
    const ParameterPath* volume = findParameterPath("main.volume");
    ASSERT_NE(volume, nullptr);
    std::string why;
    const std::optional<int32_t> index = snapParameterValue(*volume, "-20", why);
    ASSERT_TRUE(index) << why;
    const UnitResult<Done> r = other.await<Done>(
        [&](UnitDone<Done> done) { other.setParameter(*volume, *index, std::move(done)); });
    ASSERT_TRUE(r) << r.error().message;
    for (int i = 0; i < 30; ++i)
        pump(10);
    EXPECT_EQ(w.channelGroup()->volumeLabel()->text(), "-20.0 dB");
    EXPECT_FALSE(w.editMenu().history().stack().canUndo());
}

} // namespace
} // namespace m7410::test
