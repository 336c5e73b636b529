// The window without a mouse: Tab stays on what is in sight, pages take the focus and give it
// back, Escape closes, the arrow and page keys step the numeric fields, F10 opens the menus.
#include "WindowFixture.h"

#include "app/MemoryMenuDialog.h"
#include "app/PasswordBox.h"
#include "app/PersonalSettingsBox.h"
#include "app/TopGroup.h"
#include "model/DisplayFormats.h"
#include "model/ValueTables.h"
#include "panels/ChannelGroup.h"
#include "panels/ColourButton.h"
#include "panels/EqPage.h"
#include "panels/FilteredField.h"
#include "panels/GainPage.h"
#include "protocol/Session.h"

#include "link/TrafficLog.h"

#include <QAccessible>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <set>

namespace m7410::test {
namespace {

class KeyboardTest : public WindowFixture {
protected:
    MainWindow& connected() {
        MainWindow& w = openWindow();
        clock.runDue();
        QTest::mouseClick(w.topGroup()->connectButton(), Qt::LeftButton);
        clock.advance(3000);
        EXPECT_EQ(w.session().linkOpen(), 1);
        return w;
    }
    static QWidget* focused() { return QApplication::focusWidget(); }
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focused(), key, modifiers);
    }
};

TEST_F(KeyboardTest, TabStopsOnlyOnControlsInSight) {
    MainWindow& w = connected();
    w.topGroup()->connectButton()->setFocus();
    std::set<QWidget*> stops;
    for (int i = 0; i < 120; ++i) {
        press(Qt::Key_Tab);
        stops.insert(focused());
    }
    EXPECT_TRUE(stops.count(w.channelGroup()->muteButton(1)));
    EXPECT_FALSE(stops.count(w.deviceMemorySave())) << "the Device Memory box is off the window";
    EXPECT_FALSE(stops.count(w.trafficLogView())) << "so is the traffic log";

    // Maximised on a wide screen both boxes are in sight, and Tab reaches them.
    w.resize(1280, w.height());
    QCoreApplication::processEvents();
    for (int i = 0; i < 120; ++i) {
        press(Qt::Key_Tab);
        stops.insert(focused());
    }
    EXPECT_TRUE(stops.count(w.deviceMemorySave()));
    EXPECT_TRUE(stops.count(w.trafficLogView()));
}

// What the traffic log tells a screen reader while new lines arrive.
std::vector<std::pair<QObject*, QAccessible::Event>> accessibleEvents;

TEST_F(KeyboardTest, TheHiddenTrafficLogStaysQuietAndCatchesUpWhenShown) {
    QAccessible::installUpdateHandler(
        [](QAccessibleEvent* e) { accessibleEvents.emplace_back(e->object(), e->type()); });
    QAccessible::setActive(true);
    MainWindow& w = connected();
    QListView* log = w.trafficLogView();
    accessibleEvents.clear();
    clock.advance(5000); // polls, each a line in the log
    const int lines = w.trafficLog().count();
    int fromLog = 0;
    for (auto [object, type] : accessibleEvents)
        fromLog += object == log || object == log->viewport() ? 1 : 0;
    QAccessible::setActive(false);
    QAccessible::installUpdateHandler(nullptr);
    EXPECT_EQ(fromLog, 0);

    w.resize(1280, w.height());
    QCoreApplication::processEvents();
    EXPECT_EQ(log->currentIndex().row(), lines - 1) << "in sight, the newest line is selected";
    clock.advance(1000);
    EXPECT_EQ(log->currentIndex().row(), w.trafficLog().count() - 1) << "and followed";
    EXPECT_GT(w.trafficLog().count(), lines);
}

TEST_F(KeyboardTest, PagesTakeTheFocusEscapeClosesAndKeysStepTheFields) {
    MainWindow& w = connected();
    Session& s = w.session();
    ChannelGroup* rows = w.channelGroup();

    // Gain page of the second output row, opened with Space.
    ColourButton* gainButton = rows->pageButton(PageGain, 0);
    gainButton->setFocus();
    press(Qt::Key_Space);
    FilteredField* gain = w.gainPage()->gainField();
    ASSERT_TRUE(w.gainPage()->isVisible());
    EXPECT_EQ(focused(), gain);
    const int32_t start = s.model().outputs[0].gain;
    press(Qt::Key_Up);
    EXPECT_EQ(s.model().outputs[0].gain, start + 1);
    press(Qt::Key_PageDown);
    EXPECT_EQ(s.model().outputs[0].gain, start - 9);
    EXPECT_EQ(gain->text().toStdString(), "-8.9 dB");
    press(Qt::Key_Escape);
    EXPECT_FALSE(w.gainPage()->isVisible());
    EXPECT_EQ(focused(), gainButton) << "the focus goes back to the page's button";
    EXPECT_EQ(s.model().outputs[0].gain, start - 9) << "leaving after steps changes nothing";

    // The EQ page: arrows step one table entry, page keys ten, stopping at the table's ends.
    ColourButton* eqButton = rows->pageButton(PageEq, 2);
    eqButton->setFocus();
    press(Qt::Key_Space);
    ASSERT_TRUE(w.eqPage()->isVisible());
    const EqRowControls& row = w.eqPage()->row(0);
    EXPECT_EQ(focused(), row.freq);
    const EqBand& band = s.model().band(bandAddress(2, 0));
    const int32_t freq = band.freq;
    press(Qt::Key_Up);
    press(Qt::Key_PageUp);
    EXPECT_EQ(band.freq, freq + 11);
    EXPECT_EQ(row.freq->text().toStdString(), formatFrequency(freq + 11));
    row.gain->setFocus();
    const int32_t gainIndex = band.gainInForce();
    press(Qt::Key_Down);
    EXPECT_EQ(band.gainInForce(), gainIndex - 1);
    FilteredField* hpf = w.eqPage()->highPass().freq;
    hpf->setFocus();
    for (int i = 0; i < 30; ++i)
        press(Qt::Key_PageDown);
    EXPECT_EQ(s.model().crossover(2).hpf.freq, 0);
    EXPECT_EQ(hpf->text().toStdString(), "19.7");
    press(Qt::Key_Escape);
    EXPECT_FALSE(w.eqPage()->isVisible());
    EXPECT_EQ(focused(), eqButton);

    // The personal settings: after the password the focus is in the box, never on a control
    // nobody sees; Escape closes it.
    QTest::keyClick(&w, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(focused(), w.passwordBox()->field());
    QTest::keyClicks(focused(), "804417");
    press(Qt::Key_Return);
    ASSERT_TRUE(w.settingsBox()->isVisible());
    EXPECT_EQ(focused(), w.settingsBox()->nameField());
    press(Qt::Key_Escape);
    EXPECT_FALSE(w.settingsBox()->isVisible());

    // The Memory Menu's name field lets Escape close the dialog.
    w.memoryMenu()->open();
    QTest::keyClicks(w.memoryMenu()->nameField(), "ab");
    QTest::keyClick(w.memoryMenu()->nameField(), Qt::Key_Escape);
    EXPECT_FALSE(w.memoryMenu()->isVisible());
    EXPECT_EQ(demo.unit().malformedFrames(), 0);
}

TEST_F(KeyboardTest, MenusHaveMnemonicsAndF10OpensThem) {
    MainWindow& w = openWindow();
    const QList<QAction*> menus = w.menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), "&file");
    EXPECT_EQ(menus[1]->text(), "&edit");
    EXPECT_EQ(menus[2]->text(), "&about");
    w.topGroup()->connectButton()->setFocus();
    press(Qt::Key_F10);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup, menus[0]->menu());
    QTest::keyClick(popup, Qt::Key_Escape);
}

} // namespace
} // namespace m7410::test
