// The window as its unit's owner: another program's change through the window's socket shows
// in the window's controls and starts the edit history anew.
#include "WindowFixture.h"
#include "common/TemporaryRuntime.h"

#include "app/MainWindow.h"
#include "app/WindowOwner.h"
#include "editing/EditHistory.h"
#include "editing/EditMenu.h"
#include "panels/ChannelGroup.h"
#include "panels/ColourButton.h"
#include "panels/EqPage.h"
#include "panels/FilteredField.h"
#include "panels/GainPage.h"
#include "panels/GraphPicture.h"
#include "protocol/Frame.h"
#include "share/UnitClient.h"
#include "share/UnitServer.h"
#include "unit/ParameterPaths.h"

#include <QComboBox>
#include <QSlider>

#include <map>

namespace m7410::test {
namespace {

class WindowOwnerTest : public WindowFixture {
protected:
    TemporaryRuntime runtime;

    // The window's socket goes while the runtime folder is still this test's.
    void TearDown() override { window.reset(); }
    void pump(int ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        clock.PumpWait(ms);
    }
    int writeFrames() {
        int n = 0;
        for (const Bytes& f : demo.unit().receivedLog())
            n += f.size() > 4 && f[4] == KindWrite;
        return n;
    }
    // Runs in 1 ms slices until shown holds; the virtual moments at which the next parameter
    // frame reached the unit and at which shown first held (-1 for what did not happen).
    std::pair<int64_t, int64_t> timeUntil(const std::function<bool()>& shown, int limitMs = 3000) {
        const int framesBefore = writeFrames();
        int64_t frameAt = -1;
        int64_t shownAt = -1;
        for (int i = 0; i < limitMs && (frameAt < 0 || shownAt < 0); ++i) {
            pump(1);
            if (frameAt < 0 && writeFrames() > framesBefore) frameAt = clock.nowMs();
            if (shownAt < 0 && shown()) shownAt = clock.nowMs();
        }
        return {frameAt, shownAt};
    }
    static void typeInto(FilteredField* f, const char* keys) {
        f->setFocus();
        f->selectAll();
        QTest::keyClicks(f, keys);
        QTest::keyClick(f, Qt::Key_Return);
    }
    // What other programs are promised: a change shows within this long of its frame leaving.
    static constexpr int64_t ShownWithinMs = 250;
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

TEST_F(WindowOwnerTest, WindowEditsReachWatchersOncePerParameterWithTheirValues) {
    serveUnit = true;
    MainWindow& w = connectedWindow();
    UnitClient watcher([this](int ms) { pump(ms); });
    QString error;
    ASSERT_TRUE(watcher.open(probe().server()->socketPath(), error)) << error.toStdString();
    const auto connected =
        watcher.await<UnitStatus>([&](UnitDone<UnitStatus> d) { watcher.connect(std::move(d)); });
    ASSERT_TRUE(connected) << connected.error().message;
    std::map<std::string, int> events;
    std::map<std::string, int64_t> eventAt;
    std::vector<QString> origins;
    UnitListener l;
    l.parameterChanged = [&](const std::string& path, ChangeOrigin) {
        ++events[path];
        eventAt.emplace(path, clock.nowMs());
        origins.push_back(watcher.lastOrigin());
    };
    watcher.subscribe(std::move(l));
    const int framesBefore = writeFrames();

    // Each edit: the control, the path it changes, and when its event must have come.
    QTest::mouseClick(w.channelGroup()->pageButton(PageGain, 1), Qt::LeftButton);
    typeInto(w.gainPage()->gainField(), "-3");
    const auto gainFrame = timeUntil([&] { return events.count("low.gain") > 0; });
    pump(600);
    w.channelGroup()->volumeSlider()->setValue(250);
    const auto volumeFrame = timeUntil([&] { return events.count("main.volume") > 0; });
    pump(600);
    QTest::mouseClick(w.channelGroup()->pageButton(PageEq, 2), Qt::LeftButton);
    typeInto(w.eqPage()->row(2).gain, "-6");
    const auto eqFrame = timeUntil([&] { return events.count("high.eq3.gain") > 0; });
    pump(1000);

    EXPECT_EQ((std::map<std::string, int>{{"low.gain", 1}, {"main.volume", 1}, {"high.eq3.gain", 1}}),
              events);
    EXPECT_EQ(origins, (std::vector<QString>(3, "owner")));
    for (const char* path : {"low.gain", "main.volume", "high.eq3.gain"}) {
        const ParameterPath* p = findParameterPath(path);
        EXPECT_EQ(readParameter(watcher.model(), *p).text, readParameter(w.session().model(), *p).text)
            << path;
    }
    EXPECT_EQ(readParameter(watcher.model(), *findParameterPath("low.gain")).text, "-3.0 dB");
    EXPECT_EQ(writeFrames() - framesBefore, 3);
    for (const auto& [frameAt, shownAt] : {gainFrame, volumeFrame, eqFrame}) {
        ASSERT_GE(frameAt, 0);
        ASSERT_GE(shownAt, 0);
        EXPECT_LE(shownAt - frameAt, ShownWithinMs);
        std::printf("window edit: frame at %lld ms, watcher's event at %lld ms\n",
                    static_cast<long long>(frameAt), static_cast<long long>(shownAt));
    }
    EXPECT_EQ(demo.unit().malformedFrames(), 0);
}

TEST_F(WindowOwnerTest, AnotherProgramsSetShowsInFieldAndGraphWithinTheLimit) {
    serveUnit = true;
    MainWindow& w = connectedWindow();
    QTest::mouseClick(w.channelGroup()->pageButton(PageEq, 2), Qt::LeftButton);
    UnitClient other([this](int ms) { pump(ms); });
    QString error;
    ASSERT_TRUE(other.open(probe().server()->socketPath(), error)) << error.toStdString();
    const ParameterPath* gain = findParameterPath("high.eq3.gain");
    std::string why;
    const std::optional<int32_t> index = snapParameterValue(*gain, "-9", why);
    ASSERT_TRUE(index) << why;
    const QImage graphBefore = w.eqPage()->graph()->picture();
    bool answered = false;
    other.setParameter(*gain, *index, [&](UnitResult<Done> r) {
        EXPECT_TRUE(r) << r.error().message;
        answered = true;
    });
    const auto [frameAt, shownAt] = timeUntil([&] {
        return w.eqPage()->row(2).gain->text().toDouble() == -9.0 &&
               w.eqPage()->graph()->picture() != graphBefore;
    });
    ASSERT_GE(frameAt, 0);
    ASSERT_GE(shownAt, 0) << w.eqPage()->row(2).gain->text().toStdString();
    EXPECT_LE(shownAt - frameAt, ShownWithinMs);
    std::printf("another program's set: frame at %lld ms, shown at %lld ms\n",
                static_cast<long long>(frameAt), static_cast<long long>(shownAt));
    EXPECT_EQ(readParameter(w.session().model(), *gain).text, "-9 dB");
    for (int i = 0; i < 300 && !answered; ++i)
        pump(10);
    EXPECT_TRUE(answered);
}

} // namespace
} // namespace m7410::test
