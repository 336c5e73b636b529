// The main window on virtual time against the simulated unit, with its dialogs answered.
#pragma once

#include "sim/SimHidFace.h"
#include "sim/SimUnit.h"

#include "app/MainWindow.h"
#include "app/WindowOwner.h"
#include "share/UnitServer.h"
#include "app/TopGroup.h"
#include "app/TrafficLogView.h"
#include "demo/DemoUnit.h"
#include "editing/EditMenu.h"
#include "panels/ChannelGroup.h"
#include "panels/ColourButton.h"
#include "panels/PanelFixture.h"
#include "panels/UserDialogs.h"
#include "protocol/ParameterBlock.h"
#include "protocol/Session.h"
#include "support/VirtualClock.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

namespace m7410 {

// The window's parts that only tests look at, read through the window's friendship.
struct WindowProbe {
    explicit WindowProbe(MainWindow& window) : w(&window) {}
    // The server of a window that serves its unit; null otherwise.
    UnitServer* server() const { return w->owner ? &w->owner->server() : nullptr; }
    EditState& editState() const { return w->edit; }
    PersonalLock& personalLock() const { return *w->lock; }
    ProgressBox* progressBox() const { return w->progress; }
    DisconnectedForm* disconnectedForm() const { return w->disconnected; }
    QLabel* statusPanel() const { return w->status; }
    QLabel* usbLabel() const { return w->lblUsbHid; }
    QListView* trafficLogView() const { return w->historyList; }
    QPushButton* deviceMemorySave() const { return w->memorySave; }
    QAction* aboutAction() const { return w->about; }
    QAction* exitAction() const { return w->exit; }

private:
    MainWindow* w;
};

} // namespace m7410

namespace m7410::test {

// Answers the window's boxes and dialogs without showing them.
class RecordingDialogs : public UserDialogs {
public:
    void message(QWidget*, const QString& text) override { messages.push_back(text); }
    void error(QWidget*, const QString& text) override { errors.push_back(text); }
    QString openFileName(QWidget*, const QString& filter) override {
        filters.push_back(filter);
        return nextOpen;
    }
    QString saveFileName(QWidget*, const QString& name, const QString& filter) override {
        filters.push_back(name + QLatin1Char('|') + filter);
        return nextSave;
    }

    std::vector<QString> messages;
    std::vector<QString> errors;
    std::vector<QString> filters;
    QString nextOpen;
    QString nextSave;
};

// How many pixels of the picture have the colour.
inline int pixelsOf(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

// A main window on virtual time whose program folder is a fresh temporary folder.
class WindowFixture : public ::testing::Test, private QtAppFirst {
protected:
    QString programFile(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    void writeSettings(const QByteArray& text) {
        QFile f(programFile("mysetting.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QByteArray readSettings() const {
        QFile f(programFile("mysetting.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Set before openWindow: the window serves its unit to other programs.
    bool serveUnit = false;

    MainWindow& openWindow(const QImage& logo = QImage()) {
        WindowOptions o;
        o.serveUnit = serveUnit;
        o.programDir = dir.path();
        o.logo = logo;
        o.clock = &clock;
        o.dialogs = &dialogs;
        o.systemHotkey = false;
        o.hidBackend = &demo.backend();
        // The last port of the list is the one the connection tries; this one never opens.
        o.extraPorts = {dir.filePath(QStringLiteral("no-such-port"))};
        window.reset();
        window = std::make_unique<MainWindow>(o);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return *window;
    }

    // Presses "Connect" once the first USB scan has found the unit and lets the start-up
    // exchange end.
    void pressConnect() {
        clock.runDue();
        QTest::mouseClick(window->topGroup()->connectButton(), Qt::LeftButton);
        clock.advance(3000);
    }

    // The open window's parts that it has no getter for.
    WindowProbe probe() const { return WindowProbe(*window); }

    // A fresh window, connected to the simulated unit.
    MainWindow& connectedWindow(const QImage& logo = QImage()) {
        MainWindow& w = openWindow(logo);
        pressConnect();
        EXPECT_EQ(w.session().linkOpen(), 1);
        return w;
    }

    // A fresh window, connected, with the channel's HPF/LPF/EQ page open.
    MainWindow& connectedOnEqPage(int channel) {
        MainWindow& w = connectedWindow();
        QTest::mouseClick(w.channelGroup()->pageButton(PageEq, channel), Qt::LeftButton);
        return w;
    }

    ChannelBands bandsOf(int channel) {
        ChannelBands out;
        for (int row = 0; row < EqRowsPerChannel; ++row)
            out[static_cast<std::size_t>(row)] =
                window->session().model().band(bandAddress(channel, row));
        return out;
    }

    // The unit holds the window's set, and every frame it got was well formed.
    bool unitMatchesModel() {
        const BlockData& set = demo.unit().currentSet();
        return encodeBlock(window->session().model(), set) == set &&
               demo.unit().malformedFrames() == 0;
    }

    // Long enough for a channel's paced band messages to reach the unit.
    void sendAll() { clock.advance(8 * 510 + 1000); }

    EditMenu& menu() { return window->editMenu(); }
    // As opening the menu does, the items' availability is brought up to date first.
    void choose(QAction* item) {
        menu().update();
        item->trigger();
    }
    // An edit-menu item that asks for a file, answered with file; its preview runs as the test
    // set it up.
    void chooseWithFile(QAction* item, const QString& file) {
        dialogs.nextOpen = file;
        choose(item);
    }

    QTemporaryDir dir;
    VirtualClock clock;
    // The simulated unit on the virtual USB bus; its reports arrive on virtual time.
    DemoUnit demo{clock, false};
    RecordingDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

} // namespace m7410::test
