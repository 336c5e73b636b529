// Each page and the personal-settings box render on the connected demo; with
// M7410_SCREENSHOTS set (scripts/screenshots) the window pictures go there for the README.
#include "DarkPalette.h"
#include "WindowFixture.h"

#include "editing/EditMenu.h"
#include "editing/EqFitDialog.h"
#include "editing/EqImportDialog.h"
#include "app/TopGroup.h"
#include "panels/ChannelGroup.h"
#include "panels/ColourButton.h"
#include "panels/DelayPage.h"
#include "panels/EqPage.h"
#include "panels/GainPage.h"
#include "panels/LimiterPage.h"
#include "panels/PageSwitcher.h"
#include "protocol/ParameterBlock.h"
#include "protocol/Session.h"
#include "settings/PasswordBox.h"
#include "settings/PersonalSettingsBox.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace m7410::test {
namespace {

class ScreenshotTest : public WindowFixture {
protected:
    void shoot(QWidget* shown, const char* name) {
        ASSERT_TRUE(shown->isVisible()) << name;
        keep(*window, name);
    }
    // Renders the widget, and saves it under name when pictures are wanted.
    static void keep(QWidget& widget, const char* name) {
        const QImage picture = widget.grab().toImage();
        ASSERT_FALSE(picture.isNull()) << name;
        const QString target = qEnvironmentVariable("M7410_SCREENSHOTS");
        if (!target.isEmpty()) {
            EXPECT_TRUE(picture.save(target + "/" + name + ".png")) << name;
        }
    }
};

TEST_F(ScreenshotTest, EveryPageAndTheSettingsBoxRenderConnected) {
    // A few EQ bands and a crossover on the first output, so its page shows a real curve.
    ChannelModel start;
    start.band(bandAddress(2, 1)).peakGain = EqGainZeroIndex + 40;
    start.band(bandAddress(2, 3)).peakGain = EqGainZeroIndex - 60;
    start.band(bandAddress(2, 3)).q = 8;
    start.band(bandAddress(2, 5)).type = EqTypeHighShelf;
    start.band(bandAddress(2, 5)).shelfGain = EqGainZeroIndex + 30;
    start.crossover(2).hpf = {60, 7};
    start.crossover(2).lpf = {200, 7};
    demo.unit().setCurrentSet(encodeBlock(start, demo.unit().currentSet()));
    writeSettings("[Personal settings]\r\nName=M_7410 front of house\r\nChannel mode=3\r\n");

    MainWindow& w =
        connectedWindow(QImage(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../packaging/logo.bmp")));
    ASSERT_EQ(w.session().linkOpen(), 1);
    // The fixture's scratch serial port would show in the status line; a user sees none.
    probe().statusPanel()->setText(QStringLiteral("  Connecting"));

    w.pages().openPage(PageGain, 2);
    shoot(w.gainPage(), "page-gain");
    w.pages().openPage(PageDelay, 2);
    shoot(w.delayPage(), "page-delay");
    w.pages().openPage(PageLimiter, 2);
    shoot(w.limiterPage(), "page-limiter");
    w.pages().openPage(PageEq, 2);
    shoot(w.eqPage(), "page-eq");

    QTest::keyClick(window.get(), Qt::Key_I, Qt::ControlModifier);
    QTest::keyClicks(w.passwordBox()->field(), "804417");
    QTest::keyClick(w.passwordBox()->field(), Qt::Key_Return);
    shoot(w.settingsBox(), "personal-settings");
}

TEST_F(ScreenshotTest, ImportPreviewOfARewFilterFile) {
    writeSettings("[Personal settings]\r\nName=M_7410\r\nChannel mode=3\r\n");
    MainWindow& w = connectedWindow();
    w.pages().openPage(PageEq, 2);
    dialogs.nextOpen = QStringLiteral(M7410_EQTEXT_DATA "/rew-room.txt");
    bool shown = false;
    w.editMenu().runPreview = [&](EqImportDialog& preview) {
        preview.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&preview));
        keep(preview, "eq-import");
        shown = true;
        return false;
    };
    w.editMenu().update();
    w.editMenu().importAction()->trigger();
    EXPECT_TRUE(shown);
}

// The measurement is tests/fit/data/room.txt, written by scripts/fit-rooms.
TEST_F(ScreenshotTest, FitPreviewOfASyntheticRoom) {
    writeSettings("[Personal settings]\r\nName=M_7410\r\nChannel mode=3\r\n");
    MainWindow& w = openWindow();
    clock.runDue();
    QTest::mouseClick(w.topGroup()->connectButton(), Qt::LeftButton);
    clock.advance(3000);
    w.pages().openPage(PageEq, 2);
    dialogs.nextOpen = QStringLiteral(M7410_FIT_DATA "/room.txt");
    bool shown = false;
    w.editMenu().runFitPreview = [&](EqFitDialog& preview) {
        preview.toField()->setValue(400);
        preview.fitButton()->click();
        while (preview.busy())
            QTest::qWait(5);
        preview.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&preview));
        keep(preview, "eq-fit");
        shown = true;
        return false;
    };
    w.editMenu().update();
    w.editMenu().fitAction()->trigger();
    EXPECT_TRUE(shown);
}

TEST_F(ScreenshotTest, EqPageUnderADarkPalette) {
    QApplication::setPalette(darkPalette());
    writeSettings("[Personal settings]\r\nName=M_7410\r\nChannel mode=3\r\n");
    MainWindow& w =
        connectedWindow(QImage(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../packaging/logo.bmp")));
    probe().statusPanel()->setText(QStringLiteral("  Connecting"));
    QTest::mouseClick(w.channelGroup()->muteButton(1), Qt::LeftButton);
    w.pages().openPage(PageEq, 2);
    shoot(w.eqPage(), "page-eq-dark");
    window.reset();
    QApplication::setPalette(QPalette());
}

} // namespace
} // namespace m7410::test
