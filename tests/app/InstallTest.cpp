// Settings into a folder the user may not write, and what --check reports.
#include "app/SetupCheck.h"
#include "demo/DemoUnit.h"
#include "link/HidapiBackend.h"
#include "panels/PanelFixture.h"
#include "settings/SettingsFile.h"
#include "support/VirtualClock.h"

#include "common/AsOtherUser.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace m7410 {
namespace {

using test::AsOtherUser;

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(InstallTest, SavingIntoAReadOnlyProgramFolderSaysSoAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/mysetting.ini";
    const QByteArray old = "[Personal settings]\r\nName=Stage left\r\n";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                          QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    SettingsFile settings(path);
    QString error;
    bool saved = true;
    {
        AsOtherUser other;
        PersonalSettings values = settings.read();
        values.name = "Stage right";
        saved = settings.save(values, error);
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(saved);
    EXPECT_EQ(error, "Settings not saved: " + path + ": permission denied");
    EXPECT_EQ(contents(path), old);
    EXPECT_EQ(settings.read().name, "Stage left"); // reading is unaffected
}

TEST(InstallTest, CheckReportsTheUnitTheSerialPortsAndTheProgramFolder) {
    QTemporaryDir dir;
    {
        QFile f(dir.path() + "/logo.bmp");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    VirtualClock clock;
    DemoUnit demo(clock, false);
    const SetupCheck::Result found = SetupCheck::run(demo.backend(), {"/dev/ttyS0"}, dir.path());
    EXPECT_TRUE(found.unitOpens);
    const std::string expected =
        "  " + demo.backend().enumerate().front().path + ": the unit, opens\n";
    EXPECT_NE(found.text.find(expected), std::string::npos) << found.text;
    EXPECT_NE(found.text.find("Serial ports:\n  /dev/ttyS0\n"), std::string::npos) << found.text;
    EXPECT_NE(
        found.text.find("Program folder: " + dir.path().toStdString() + " (present, writable)"),
        std::string::npos);
    EXPECT_NE(found.text.find("  mysetting.ini: missing\n  logo.bmp: present, writable\n"),
              std::string::npos)
        << found.text;

    // This machine has no unit plugged in. The udev monitor needs the application object.
    test::QtAppFirst app;
    HidapiBackend system;
    const SetupCheck::Result none = SetupCheck::run(system, {}, dir.path());
    EXPECT_FALSE(none.unitOpens);
    EXPECT_NE(none.text.find("  no unit found\nSerial ports:\n  none\n"), std::string::npos)
        << none.text;
    EXPECT_NE(none.text.find("The unit cannot be opened over USB."), std::string::npos);
}

TEST(InstallTest, VersionsNameQtAndHidapi) {
    const QString v = SetupCheck::versions();
    EXPECT_TRUE(v.startsWith(QStringLiteral("Qt ") + qVersion() + ", hidapi ")) << v.toStdString();
}

} // namespace
} // namespace m7410
