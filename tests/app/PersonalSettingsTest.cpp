#include "WindowFixture.h"
#include "common/Fifo.h"

#include "panels/ChannelGroup.h"
#include "panels/ColourButton.h"
#include "panels/GainPage.h"
#include "panels/PageSwitcher.h"
#include "panels/PanelColours.h"
#include "settings/PasswordBox.h"
#include "settings/PersonalLock.h"
#include "settings/PersonalSettingsBox.h"

#include <QAction>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace m7410::test {
namespace {

class PersonalSettingsTest : public WindowFixture {
protected:
    void pressHotkey(Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(window.get(), Qt::Key_I, modifiers);
    }
    void enterPassword(const char* text) {
        QLineEdit* field = window->passwordBox()->field();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
};

TEST_F(PersonalSettingsTest, HotkeyTogglesThePasswordBoxAndClosesAnOpenPage) {
    MainWindow& w = openWindow();
    w.pages().openPage(PageGain, 0);
    pressHotkey(Qt::ControlModifier | Qt::ShiftModifier);
    pressHotkey(Qt::AltModifier);
    EXPECT_FALSE(w.passwordBox()->isVisible()) << "only Ctrl alone with I is the hotkey";
    EXPECT_TRUE(w.gainPage()->isVisible());

    pressHotkey();
    EXPECT_TRUE(w.passwordBox()->isVisible());
    EXPECT_TRUE(probe().personalLock().passwordBoxShown());
    EXPECT_FALSE(w.gainPage()->isVisible());
    EXPECT_EQ(probe().editState().currentPage, NoPage);
    EXPECT_EQ(w.channelGroup()->pageButton(PageGain, 0)->colour(), IdleColour);
    EXPECT_TRUE(w.passwordBox()->field()->hasFocus());

    pressHotkey();
    EXPECT_FALSE(w.passwordBox()->isVisible());
    EXPECT_FALSE(probe().personalLock().passwordBoxShown());

    // Opening a page hides the box again.
    pressHotkey();
    w.pages().openPage(PageGain, 1);
    EXPECT_FALSE(w.passwordBox()->isVisible());
    EXPECT_FALSE(probe().personalLock().passwordBoxShown());
}

TEST_F(PersonalSettingsTest, OnlyTheExactPasswordOpensTheSettingsBox) {
    MainWindow& w = openWindow();
    pressHotkey();
    for (const char* wrong : {"804417 ", "", "80441"}) {
        enterPassword(wrong);
        EXPECT_TRUE(w.passwordBox()->isVisible()) << wrong;
        EXPECT_TRUE(w.passwordBox()->field()->text().isEmpty());
    }
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[0], "Wrong password.");
    EXPECT_FALSE(w.settingsBox()->isVisible());

    enterPassword("804417");
    EXPECT_FALSE(w.passwordBox()->isVisible());
    EXPECT_FALSE(probe().personalLock().passwordBoxShown());
    EXPECT_TRUE(w.settingsBox()->isVisible());
    EXPECT_EQ(dialogs.messages.size(), 3u);

    // A page opening hides the settings box; the next visit needs the password again.
    w.pages().openPage(PageDelay, MainChannelIndex);
    EXPECT_FALSE(w.settingsBox()->isVisible());
    pressHotkey();
    EXPECT_FALSE(w.settingsBox()->isVisible());
    EXPECT_TRUE(w.passwordBox()->isVisible());
}

TEST_F(PersonalSettingsTest, SaveRewritesOurKeysKeepsTheRestAndWritesTheLogo) {
    const QByteArray original = "; written by the vendor\r\n"
                                "[Personal settings]\r\n"
                                "; shown in the title bar\r\n"
                                "Name=Old\r\n"
                                "Channel mode=3\r\n"
                                "Extra=kept\r\n"
                                "\r\n"
                                "[Other]\r\n"
                                "Path=C:\\dsp\\presets\r\n";
    writeSettings(original);
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(QColor(10, 200, 30));
    MainWindow& w = openWindow(logo);
    PersonalSettingsBox* box = w.settingsBox();

    // Cancel writes nothing.
    box->show();
    box->chooseMode(2);
    EXPECT_EQ(box->modeButton(2)->colour(), ChosenModeColour);
    EXPECT_EQ(box->modeButton(3)->colour(), IdleColour);
    QTest::mouseClick(box->cancelButton(), Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(readSettings(), original);
    EXPECT_FALSE(QFile::exists(programFile("logo.bmp")));

    box->show();
    box->nameField()->setText("New DSP");
    box->channelField(1)->setText("Tweeter");
    QTest::mouseClick(box->saveButton(), Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "Successfully saved.");

    const QByteArray saved = readSettings();
    for (const char* line :
         {"; written by the vendor\r\n", "; shown in the title bar\r\nName=New DSP\r\n",
          "Channel mode=2\r\n", "Extra=kept\r\n", "Output channel one=Tweeter\r\n",
          "Input the main channel=\r\n", "Version=\r\n", "[Other]\r\nPath=C:\\dsp\\presets\r\n"}) {
        EXPECT_TRUE(saved.contains(line)) << line << "\n" << saved.constData();
    }
    EXPECT_FALSE(saved.contains("\n\n")) << "every line ends in CR LF";
    const QImage written = QImageReader(programFile("logo.bmp"), "bmp").read();
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.size(), logo.size());
    EXPECT_EQ(written.pixelColor(5, 5), QColor(10, 200, 30));

    // The window keeps its caption and layout until the next start, which reads the new ones.
    EXPECT_EQ(w.height(), 753);
    MainWindow& next = openWindow();
    EXPECT_EQ(next.windowTitle(), "New DSP");
    EXPECT_EQ(next.height(), 721);
    EXPECT_EQ(next.channelGroup()->rowCaption(2)->text(), "Tweeter");
}

TEST_F(PersonalSettingsTest, AUnreadableLogoLeavesThePictureAndAFailedSaveKeepsTheBox) {
    QImage logo(8, 8, QImage::Format_RGB32);
    logo.fill(Qt::blue);
    MainWindow& w = openWindow(logo);
    PersonalSettingsBox* box = w.settingsBox();
    QFile junk(programFile("junk.bmp"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    dialogs.nextOpen = junk.fileName();
    QTest::mouseClick(box->loadButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs.filters.back(), "图像文件(*.bmp)");
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(box->logo(), logo);
    {
        // A pipe chosen as the picture is refused at once instead of waiting for a writer.
        Fifo fifo(programFile("pipe.bmp"));
        ASSERT_TRUE(fifo.made);
        dialogs.nextOpen = programFile("pipe.bmp");
        QTest::mouseClick(box->loadButton(), Qt::LeftButton);
        EXPECT_FALSE(fifo.blocked);
        ASSERT_EQ(dialogs.errors.size(), 2u);
        EXPECT_TRUE(dialogs.errors.back().contains("not a regular file"));
        EXPECT_EQ(box->logo(), logo);
    }

    // The settings file's place is a folder: saving fails with the reason, the box stays.
    ASSERT_TRUE(QDir(dir.path()).mkdir("mysetting.ini"));
    box->show();
    QTest::mouseClick(box->saveButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs.errors.size(), 3u);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(box->isVisible());
}

TEST_F(PersonalSettingsTest, AboutShowsTheVersionText) {
    MainWindow& w = openWindow();
    probe().aboutAction()->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "API for version M7410_8.1.1.H Build on 2016_05_21");
    probe().exitAction()->trigger();
    EXPECT_FALSE(w.isVisible());
}

} // namespace
} // namespace m7410::test
