#include "WindowFixture.h"

#include "app/FileBox.h"
#include "app/TopGroup.h"
#include "panels/ChannelGroup.h"
#include "panels/ColourButton.h"
#include "panels/EqPage.h"
#include "panels/GraphPicture.h"
#include "response/ResponseGraph.h"
#include "settings/PasswordBox.h"
#include "settings/PersonalSettingsBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <set>
#include <vector>

namespace m7410::test {
namespace {

class StartUpTest : public WindowFixture {};

TEST_F(StartUpTest, ChannelModeSetsTheRowsTheBoxesAndTheWindowHeight) {
    struct Case {
        const char* file;
        int windowHeight, groupHeight, eqTop, fileBoxTop;
        std::vector<int> reachableOutputs;
    };
    const Case cases[] = {
        {nullptr, 753, 134, 232, 98, {2, 0, 1}}, // no settings file: the design layout
        {"[Personal settings]\r\nChannel mode=1\r\n", 689, 70, 168, 2, {2}},
        {"[Personal settings]\r\nChannel mode=2\r\n", 721, 102, 200, 34, {2, 0}},
        {"[Personal settings]\r\nChannel mode=3\r\n", 753, 134, 232, 98, {2, 0, 1}},
        {"[Personal settings]\r\nChannel mode=7\r\n", 753, 134, 232, 98, {2, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "no file");
        QFile::remove(programFile("mysetting.ini"));
        if (c.file) writeSettings(c.file);
        MainWindow& w = openWindow();
        EXPECT_EQ(w.width(), 750);
        EXPECT_EQ(w.height(), c.windowHeight);
        // The rows reach up to the file box, which leaves the volume value room.
        EXPECT_EQ(w.channelGroup()->geometry(), QRect(7, 98, 604, c.groupHeight));
        EXPECT_FALSE(w.fileBox()->geometry().intersects(w.channelGroup()->geometry()));
        EXPECT_EQ(w.eqPage()->pos(), QPoint(7, c.eqTop));
        EXPECT_EQ(w.settingsBox()->pos(), QPoint(7, c.eqTop));
        EXPECT_EQ(w.passwordBox()->pos(), QPoint(7, c.eqTop));
        EXPECT_EQ(w.fileBox()->pos(), QPoint(611, c.fileBoxTop));
        // The file box never hides under the top group or the EQ page.
        EXPECT_FALSE(w.fileBox()->geometry().intersects(w.topGroup()->geometry()));
        EXPECT_LE(w.fileBox()->geometry().bottom(), c.eqTop);

        // Only the rows on show can be reached, by the pointer or by Tab.
        std::set<int> reachable;
        for (int ch = 0; ch < OutputChannelCount; ++ch) {
            const ColourButton* mute = w.channelGroup()->muteButton(ch);
            if (mute->isVisible() && (mute->focusPolicy() & Qt::TabFocus) != 0)
                reachable.insert(ch);
        }
        EXPECT_EQ(reachable, std::set<int>(c.reachableOutputs.begin(), c.reachableOutputs.end()));
    }
}

TEST_F(StartUpTest, AbsentSettingsLeaveDefaultCaptionsAndEmptyFields) {
    MainWindow& w = openWindow();
    EXPECT_TRUE(w.windowTitle().isEmpty());
    EXPECT_EQ(w.channelGroup()->rowCaption(MainChannelIndex)->text(), "Main");
    EXPECT_EQ(w.channelGroup()->rowCaption(2)->text(), "High");
    EXPECT_EQ(w.channelGroup()->rowCaption(0)->text(), "Middle");
    EXPECT_EQ(w.channelGroup()->rowCaption(1)->text(), "Low");
    EXPECT_TRUE(w.settingsBox()->channelField(1)->text().isEmpty());
    EXPECT_EQ(w.settingsBox()->channelMode(), 0);
    EXPECT_EQ(probe().statusPanel()->text(), "Disconnect");
    EXPECT_EQ(w.topGroup()->connectButton()->text(), "Disconnect");
    EXPECT_EQ(probe().editState().currentPage, NoPage);
    EXPECT_EQ(probe().editState().currentChannel, NoChannel);
    EXPECT_FALSE(w.eqPage()->isVisible());
    // The page picture starts as the bare grid background.
    EXPECT_EQ(w.eqPage()->graph()->picture(), w.graph().background());
}

TEST_F(StartUpTest, SettingsGiveTheCaptionTheRowNamesAndTheBoxFields) {
    writeSettings("; vendor file\n[Personal settings]\nName=Club DSP\nChannel mode=2\n"
                  "Output channel one=Tweeter\nOutput channel two=\nVersion=V 2.0\n"
                  "Input the main channel=Main input\n");
    MainWindow& w = openWindow();
    EXPECT_EQ(w.windowTitle(), "Club DSP");
    EXPECT_EQ(w.channelGroup()->rowCaption(2)->text(), "Tweeter");
    EXPECT_EQ(w.channelGroup()->rowCaption(0)->text(), "") << "a key that is present counts";
    EXPECT_EQ(w.channelGroup()->rowCaption(1)->text(), "Low");
    PersonalSettingsBox* box = w.settingsBox();
    EXPECT_EQ(box->nameField()->text(), "Club DSP");
    EXPECT_EQ(box->channelField(1)->text(), "Tweeter");
    EXPECT_EQ(box->versionField()->text(), "V 2.0");
    // Read as it is, longer than the field takes when typing, so a save keeps it whole.
    EXPECT_EQ(box->channelField(0)->text(), "Main input");
    EXPECT_EQ(box->values().mainChannel, "Main input");
    box->channelField(1)->setFocus();
    QTest::keyClicks(box->channelField(1), "ABCDEFG");
    EXPECT_EQ(box->channelField(1)->text(), "TweeterA") << "typing stops at 8 characters";
    EXPECT_EQ(box->channelMode(), 2);
    EXPECT_TRUE(box->channelField(2)->isVisibleTo(box));
    EXPECT_FALSE(box->channelField(3)->isVisibleTo(box));
}

} // namespace
} // namespace m7410::test
