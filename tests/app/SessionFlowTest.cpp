#include "WindowFixture.h"

#include "app/DisconnectedForm.h"
#include "app/TopGroup.h"
#include "link/Connection.h"
#include "link/TrafficLog.h"
#include "panels/ChannelGroup.h"
#include "panels/ColourButton.h"
#include "panels/DelayPage.h"
#include "panels/FilteredField.h"
#include "panels/GainFader.h"
#include "panels/GainPage.h"
#include "panels/LimiterPage.h"
#include "panels/PageSwitcher.h"
#include "panels/PanelColours.h"
#include "protocol/ParameterBlock.h"
#include "protocol/Session.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace m7410::test {
namespace {

class SessionFlowTest : public WindowFixture {
protected:
    // Opens the window with the unit on the virtual USB bus and connects with the button.
    MainWindow& connect() {
        MainWindow& w = openWindow();
        clock.runDue(); // the first HID scan finds the unit
        QTest::mouseClick(w.topGroup()->connectButton(), Qt::LeftButton);
        clock.advance(3000);
        return w;
    }
    bool unitMatchesModel() {
        const BlockData& set = demo.unit().currentSet();
        return encodeBlock(window->session().model(), set) == set;
    }
};

TEST_F(SessionFlowTest, TheUnitFollowsEveryLevelEditMadeInTheWindow) {
    // The unit starts with a set of its own, which the window must show once connected.
    ChannelModel start;
    start.outputs[0].gain = 150;
    start.main.volume = 151;
    start.outputs[1].outputOn = 0;
    start.outputs[2].phaseInvert = 1;
    demo.unit().setCurrentSet(encodeBlock(start, demo.unit().currentSet()));

    MainWindow& w = connect();
    ASSERT_EQ(w.session().linkOpen(), 1);
    EXPECT_EQ(w.topGroup()->connectButton()->text(), "Connect");
    EXPECT_EQ(w.channelGroup()->volumeLabel()->text(), "-30.0 dB");
    EXPECT_EQ(w.channelGroup()->muteButton(1)->colour(), MutedColour);
    EXPECT_EQ(w.channelGroup()->polarityButton(2)->text(), "-");
    w.pages().openPage(PageGain, 0);
    EXPECT_EQ(w.gainPage()->gainField()->text(), "-5.0 dB");
    clock.advance(1000);
    EXPECT_FALSE(w.topGroup()->linkIndicator()->pixmap().isNull());

    // Edits of every kind, through the controls.
    ChannelGroup* rows = w.channelGroup();
    QTest::mouseClick(rows->muteButton(0), Qt::LeftButton);
    QTest::mouseClick(rows->polarityButton(MainChannelIndex), Qt::LeftButton);
    rows->volumeSlider()->setValue(250);
    w.pages().openPage(PageGain, 2);
    FilteredField* gainText = w.gainPage()->gainField();
    gainText->setFocus();
    gainText->selectAll();
    QTest::keyClicks(gainText, "-3");
    QTest::keyClick(gainText, Qt::Key_Return);
    w.pages().openPage(PageGain, 1);
    GainFader* fader = w.gainPage()->fader();
    const int knob = w.gainPage()->knobTop(1);
    QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(79, knob + 5));
    w.gainPage()->knobMove(QPoint(79, 60));
    w.gainPage()->knobMove(QPoint(79, 40));
    QTest::mouseRelease(fader, Qt::LeftButton, {}, QPoint(79, 40));
    w.pages().openPage(PageDelay, MainChannelIndex);
    w.delayPage()->slider()->setValue(120);
    w.pages().openPage(PageLimiter, 0);
    w.limiterPage()->thresholdList()->setCurrentIndex(12);
    emit w.limiterPage()->thresholdList()->activated(12);
    EXPECT_FALSE(unitMatchesModel()) << "edits are queued and paced, not sent at once";

    clock.advance(10 * 510 + 1000);
    EXPECT_EQ(w.session().model().outputs[2].gain, 170);
    EXPECT_EQ(w.session().model().main.delay, 120);
    EXPECT_TRUE(unitMatchesModel());
    EXPECT_EQ(demo.unit().malformedFrames(), 0);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_GT(w.trafficLog().count(), 0);
}

TEST_F(SessionFlowTest, PullingTheUnitClosesTheLinkAndShowsTheDisconnectionWindow) {
    MainWindow& w = connect();
    ASSERT_EQ(w.session().linkOpen(), 1);
    w.pages().openPage(PageDelay, 2);

    demo.face().unplug();
    clock.advance(1000);
    EXPECT_EQ(w.session().linkOpen(), 0);
    EXPECT_TRUE(w.disconnectedForm()->isVisible());
    EXPECT_EQ(w.disconnectedForm()->windowTitle(), "Warnning");
    EXPECT_EQ(w.topGroup()->connectButton()->text(), "Disconnect");
    EXPECT_EQ(w.statusPanel()->text(), "  Disconnect");
    EXPECT_EQ(w.usbLabel()->text(), "已移除设备.");
    EXPECT_TRUE(w.trafficLog().lastLine().startsWith("Removal of "));

    // The next opening finds no unit and no port.
    clock.advance(2000);
    QTest::mouseClick(w.topGroup()->connectButton(), Qt::LeftButton);
    EXPECT_FALSE(w.disconnectedForm()->isVisible());
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back(), "No port.");
}

TEST_F(SessionFlowTest, ASerialPortWhoseNameHasNoNumberStillOpensTheLink) {
    // A pseudo-terminal stands in for /dev/ttyUSB0: like every Linux port name, no number.
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const QString pty = QString::fromLocal8Bit(ptsname(master));
    WindowOptions o;
    o.programDir = dir.path();
    o.clock = &clock;
    o.dialogs = &dialogs;
    o.systemHotkey = false;
    o.hidBackend = &demo.backend();
    o.extraPorts = {pty};
    window = std::make_unique<MainWindow>(o);
    window->show();

    // No HID scan has run, so the port is the link.
    QTest::mouseClick(window->topGroup()->connectButton(), Qt::LeftButton);
    EXPECT_EQ(window->session().linkOpen(), 1);
    EXPECT_EQ(window->topGroup()->connectButton()->text(), "Connect");
    EXPECT_EQ(window->statusPanel()->text(), "  Connecting" + pty);
    EXPECT_TRUE(dialogs.messages.empty());
    // The request went out on the port.
    char buffer[64];
    ssize_t n = -1;
    for (int tries = 0; tries < 100 && n < 0; ++tries) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        n = read(master, buffer, sizeof buffer);
    }
    EXPECT_EQ(n, 12);
    // Nothing answers: the start-up time-out gives the link up.
    clock.advance(800);
    EXPECT_EQ(window->session().linkOpen(), 0);
    EXPECT_TRUE(window->disconnectedForm()->isVisible());
    window.reset();
    close(master);
}

} // namespace
} // namespace m7410::test
