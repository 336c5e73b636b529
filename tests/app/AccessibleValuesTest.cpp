// What a screen reader hears follows what the controls show: names still say which control
// it is, and states and values are read as they change.
#include "WindowFixture.h"

#include "app/TopGroup.h"
#include "panels/ChannelGroup.h"
#include "panels/ColourButton.h"
#include "panels/DelayPage.h"
#include "panels/PageSwitcher.h"
#include "protocol/Session.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace m7410::test {
namespace {

std::string heard(QWidget* w, QAccessible::Text which) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a != nullptr ? a->text(which).toStdString() : std::string("(none)");
}

using AccessibleValuesTest = WindowFixture;

TEST_F(AccessibleValuesTest, StatesAndValuesAreReadAsShown) {
    MainWindow& w = openWindow();
    QPushButton* link = w.topGroup()->connectButton();
    EXPECT_EQ(heard(link, QAccessible::Name), "Connection");
    EXPECT_EQ(heard(link, QAccessible::Description), link->text().toStdString());
    clock.runDue();
    QTest::mouseClick(link, Qt::LeftButton);
    clock.advance(3000);
    ASSERT_EQ(w.session().linkOpen(), 1);
    EXPECT_EQ(heard(link, QAccessible::Name), "Connection");
    EXPECT_EQ(heard(link, QAccessible::Description), link->text().toStdString());
    EXPECT_NE(link->text(), "Disconnect") << "the caption changed with the link";

    w.setCurrentPresetNumber(20);
    EXPECT_EQ(heard(w.topGroup()->presetNumber(), QAccessible::Name), "20");
    EXPECT_EQ(heard(w.topGroup()->presetNumber(), QAccessible::Description),
              "Current preset number");

    ChannelGroup* rows = w.channelGroup();
    rows->volumeSlider()->setValue(1);
    EXPECT_EQ(heard(rows->volumeLabel(), QAccessible::Name), "-60.0 dB");
    rows->volumeSlider()->setValue(0);
    EXPECT_EQ(heard(rows->volumeLabel(), QAccessible::Name), "Mute");

    QPushButton* polarity = rows->polarityButton(0);
    EXPECT_EQ(heard(polarity, QAccessible::Name), "Middle polarity");
    EXPECT_EQ(heard(polarity, QAccessible::Description), "+");
    QTest::mouseClick(polarity, Qt::LeftButton);
    EXPECT_EQ(heard(polarity, QAccessible::Description), "-");
    QTest::mouseClick(rows->muteButton(1), Qt::LeftButton);
    EXPECT_EQ(heard(rows->muteButton(1), QAccessible::Name), "Low Mute");
    EXPECT_EQ(heard(rows->muteButton(1), QAccessible::Description), "muted");

    w.pages().openPage(PageDelay, 0);
    w.delayPage()->slider()->setValue(50);
    EXPECT_EQ(heard(w.delayPage()->metresLabel(), QAccessible::Name),
              w.delayPage()->metresLabel()->text().toStdString());
    EXPECT_EQ(heard(w.statusPanel(), QAccessible::Name), w.statusPanel()->text().toStdString());
}

} // namespace
} // namespace m7410::test
