// Undo and redo in the window: every kind of edit, drags as one step, a new set starts over,
// and the steps are offered only while the controls they change are.
#include "WindowFixture.h"

#include "app/EditHistory.h"
#include "app/EditMenu.h"
#include "app/TopGroup.h"
#include "panels/ChannelGroup.h"
#include "panels/ColourButton.h"
#include "panels/DelayPage.h"
#include "panels/EqPage.h"
#include "panels/FilteredField.h"
#include "panels/GainPage.h"
#include "panels/GraphPicture.h"
#include "panels/LimiterPage.h"
#include "panels/PageSwitcher.h"
#include "panels/SpinButtons.h"
#include "protocol/ParameterBlock.h"
#include "protocol/Session.h"
#include "response/ResponseGraph.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

namespace m7410::test {
namespace {

class UndoFlowTest : public WindowFixture {
protected:
    MainWindow& connect() {
        MainWindow& w = openWindow();
        clock.runDue();
        QTest::mouseClick(w.topGroup()->connectButton(), Qt::LeftButton);
        clock.advance(3000);
        EXPECT_EQ(w.session().linkOpen(), 1);
        return w;
    }
    void openPage(int page, int channel) {
        QTest::mouseClick(window->channelGroup()->pageButton(page, channel), Qt::LeftButton);
    }
    static void typeInto(FilteredField* f, const char* keys) {
        f->setFocus();
        f->selectAll();
        QTest::keyClicks(f, keys);
        QTest::keyClick(f, Qt::Key_Return);
    }
    static void choose(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    // The end of the event that made an edit.
    static void settle() { QCoreApplication::processEvents(); }
    bool unitMatchesModel() {
        const BlockData& set = demo.unit().currentSet();
        return encodeBlock(window->session().model(), set) == set &&
               demo.unit().malformedFrames() == 0;
    }
    void sendAll() { clock.advance(20 * 510 + 1000); }
    const ChannelModel& model() { return window->session().model(); }
    EditMenu& menu() { return window->editMenu(); }
    void press(QKeySequence key) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keySequence(target, key);
    }
    void dragMarker(QPoint from, const std::vector<QPoint>& path) {
        GraphPicture* g = window->eqPage()->graph();
        QTest::mousePress(g, Qt::LeftButton, {}, from);
        for (QPoint to : path) {
            QMouseEvent move(QEvent::MouseMove, to, g->mapToGlobal(to), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(g, &move);
            settle();
        }
        QTest::mouseRelease(g, Qt::LeftButton, {}, path.back());
        settle();
    }
};

TEST_F(UndoFlowTest, EveryKindOfEditUndoesAndRedoesAndTheUnitFollows) {
    MainWindow& w = connect();
    ChannelGroup* rows = w.channelGroup();
    EqPage* eq = w.eqPage();
    std::vector<ChannelModel> sets{model()};
    std::vector<QString> names;
    const auto step = [&](const char* name) {
        settle();
        sets.push_back(model());
        names.push_back(QString::fromLatin1(name));
    };

    openPage(PageEq, 2);
    typeInto(eq->row(2).gain, "-6");
    step("High EQ 3 gain");
    eq->row(2).qSpin->upButton()->click();
    step("High EQ 3 Q");
    choose(eq->row(1).type, EqTypeHighShelf);
    step("High EQ 2 type");
    typeInto(eq->lowPass().freq, "8000");
    step("High LPF frequency");
    choose(eq->highPass().type, 4);
    step("High HPF type");
    QTest::mouseClick(rows->muteButton(0), Qt::LeftButton);
    step("Middle mute");
    QTest::mouseClick(rows->polarityButton(MainChannelIndex), Qt::LeftButton);
    step("Main polarity");
    rows->volumeSlider()->setValue(250);
    step("Main volume");
    openPage(PageGain, 1);
    typeInto(w.gainPage()->gainField(), "-3");
    step("Low gain");
    openPage(PageLimiter, 1);
    choose(w.limiterPage()->attackList(), 3);
    step("Low limiter attack");
    openPage(PageDelay, 0);
    w.delayPage()->slider()->setValue(100);
    step("Middle delay");
    openPage(PageEq, 2);
    typeInto(eq->row(4).gain, "3");
    step("High EQ 5 gain");
    QTest::mouseClick(eq->zeroDbButton(), Qt::LeftButton);
    step("High EQ");
    sendAll();
    ASSERT_TRUE(unitMatchesModel());
    for (size_t k = 1; k < sets.size(); ++k)
        ASSERT_NE(sets[k], sets[k - 1]) << names[k - 1].toStdString() << " changed nothing";

    for (size_t k = sets.size() - 1; k > 0; --k) {
        menu().update();
        ASSERT_TRUE(menu().undoAction()->isEnabled()) << k;
        EXPECT_EQ(menu().undoAction()->text().section('\t', 0, 0), "Undo " + names[k - 1]);
        menu().undoAction()->trigger();
        ASSERT_EQ(model(), sets[k - 1]) << "undoing " << names[k - 1].toStdString();
    }
    menu().update();
    EXPECT_FALSE(menu().undoAction()->isEnabled());
    EXPECT_EQ(eq->row(2).gain->text(), "0") << "the open page shows the restored values";
    EXPECT_EQ(rows->muteButton(0)->colour(), QColor(224, 224, 224));
    EXPECT_EQ(rows->polarityButton(MainChannelIndex)->text(), "+");
    sendAll();
    EXPECT_TRUE(unitMatchesModel());

    for (size_t k = 1; k < sets.size(); ++k) {
        menu().redoAction()->trigger();
        ASSERT_EQ(model(), sets[k]) << "redoing " << names[k - 1].toStdString();
    }
    sendAll();
    EXPECT_TRUE(unitMatchesModel());
}

TEST_F(UndoFlowTest, AWholeDragIsOneStepAndTheKeysUndoIt) {
    MainWindow& w = connect();
    openPage(PageEq, 2);
    const int band = bandAddress(2, 3);
    const EqBand start = model().band(band);
    const MarkerPosition startMarker = w.graph().curves().marker(band);
    std::vector<QPoint> path;
    for (int i = 1; i <= 30; ++i)
        path.push_back({294 + 5 * i, 86 - i});
    dragMarker({294, 86}, path);
    const EqBand dragged = model().band(band);
    ASSERT_NE(dragged.freq, start.freq);
    ASSERT_NE(dragged.peakGain, start.peakGain);
    EXPECT_EQ(menu().history().stack().count(), 1);
    sendAll();

    // The press moved the focus into a numeric field; the keys still reach the history.
    ASSERT_NE(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr);
    press(QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(model().band(band), start);
    EXPECT_EQ(w.graph().curves().marker(band), startMarker);
    EXPECT_EQ(w.eqPage()->row(3).freq->text(), "198");
    sendAll();
    EXPECT_TRUE(unitMatchesModel());

    press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    EXPECT_EQ(model().band(band), dragged);
    press(QKeySequence(Qt::CTRL | Qt::Key_Z));
    press(QKeySequence(Qt::CTRL | Qt::Key_Y));
    EXPECT_EQ(model().band(band), dragged);

    // A second drag of the same marker is a step of its own.
    const MarkerPosition at = w.graph().curves().marker(band);
    dragMarker({at.x, at.y}, {{at.x + 20, at.y + 10}, {at.x + 40, at.y + 20}});
    EXPECT_EQ(menu().history().stack().count(), 2);
    sendAll();
    EXPECT_TRUE(unitMatchesModel());
}

TEST_F(UndoFlowTest, AReceivedSetStartsANewHistory) {
    MainWindow& w = connect();
    QTest::mouseClick(w.channelGroup()->muteButton(2), Qt::LeftButton);
    settle();
    ASSERT_EQ(menu().history().stack().count(), 1);
    w.topGroup()->loadList()->setCurrentIndex(4);
    QTest::mouseClick(w.topGroup()->loadButton(), Qt::LeftButton);
    clock.advance(3000);
    ASSERT_EQ(demo.unit().currentSet(), demo.unit().preset(5));
    EXPECT_EQ(menu().history().stack().count(), 0);
    menu().update();
    EXPECT_FALSE(menu().undoAction()->isEnabled());
    EXPECT_EQ(menu().undoAction()->text().section('\t', 0, 0), "Undo");

    // The history holds the last 200 steps.
    for (int i = 0; i < 205; ++i) {
        QTest::mouseClick(w.channelGroup()->muteButton(2), Qt::LeftButton);
        settle();
    }
    EXPECT_EQ(menu().history().stack().count(), EditHistory::Depth);
}

TEST_F(UndoFlowTest, UndoIsOfferedOnlyWhileTheControlsAre) {
    MainWindow& w = openWindow();
    EqPage* eq = w.eqPage();
    openPage(PageEq, 2);
    typeInto(eq->row(0).gain, "-6");
    settle();
    const ChannelModel edited = model();
    menu().update();
    EXPECT_FALSE(menu().undoAction()->isEnabled()) << "no link";
    press(QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(model(), edited);

    clock.runDue();
    QTest::mouseClick(w.topGroup()->connectButton(), Qt::LeftButton);
    clock.advance(3000);
    openPage(PageEq, 2);
    typeInto(eq->row(0).gain, "-6");
    settle();
    const ChannelModel beforeZero = model();
    QTest::mouseClick(eq->zeroDbButton(), Qt::LeftButton);
    settle();
    ASSERT_FALSE(w.channelGroup()->isEnabled()) << "the \"0 dB\" sequence locks the window";
    EXPECT_FALSE(menu().undoAction()->isEnabled());
    menu().undoAction()->trigger();
    press(QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_NE(model(), beforeZero);
    sendAll();
    ASSERT_TRUE(w.channelGroup()->isEnabled());
    menu().update();
    EXPECT_TRUE(menu().undoAction()->isEnabled());
    menu().undoAction()->trigger();
    EXPECT_EQ(model(), beforeZero);
}

} // namespace
} // namespace m7410::test
