#pragma once

#include "sim/SimHidFace.h"
#include "sim/SimUnit.h"

#include "demo/DemoUnit.h"
#include "app/MainWindow.h"
#include "app/UserDialogs.h"
#include "panels/PanelFixture.h"
#include "support/VirtualClock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

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

    MainWindow& openWindow(const QImage& logo = QImage()) {
        WindowOptions o;
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

    QTemporaryDir dir;
    VirtualClock clock;
    // The simulated unit on the virtual USB bus; its reports arrive on virtual time.
    DemoUnit demo{clock, false};
    RecordingDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

} // namespace m7410::test
