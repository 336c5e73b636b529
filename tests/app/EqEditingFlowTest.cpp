#include "WindowFixture.h"

#include "app/FileBox.h"
#include "app/ProgressBox.h"
#include "app/TopGroup.h"
#include "panels/ChannelGroup.h"
#include "panels/ColourButton.h"
#include "panels/FilteredField.h"
#include "panels/GraphPicture.h"
#include "panels/SpinButtons.h"
#include "protocol/ParameterBlock.h"
#include "protocol/Session.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

namespace m7410::test {
namespace {

class EqEditingFlowTest : public WindowFixture {
protected:
    MainWindow& connect() {
        MainWindow& w = window ? *window : openWindow();
        clock.runDue();
        QTest::mouseClick(w.topGroup()->connectButton(), Qt::LeftButton);
        clock.advance(3000);
        return w;
    }
    void openEqPage(int channel) {
        QTest::mouseClick(window->channelGroup()->pageButton(PageEq, channel), Qt::LeftButton);
    }
    static void typeInto(FilteredField* f, const char* keys) {
        f->setFocus();
        f->selectAll();
        QTest::keyClicks(f, keys);
        QTest::keyClick(f, Qt::Key_Return);
    }
    void drag(QPoint from, QPoint to) {
        GraphPicture* g = window->eqPage()->graph();
        QTest::mousePress(g, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, g->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(g, &move);
        QTest::mouseRelease(g, Qt::LeftButton, {}, to);
    }
    bool unitMatchesModel() {
        const BlockData& set = demo.unit().currentSet();
        return encodeBlock(window->session().model, set) == set;
    }
};

TEST_F(EqEditingFlowTest, TheUnitEndsWithTheSetEditedOnTheEqPages) {
    MainWindow& w = connect();
    ASSERT_EQ(w.session().linkOpen, 1);
    EqPage* eq = w.eqPage();
    openEqPage(2);
    typeInto(eq->row(0).freq, "1010");
    typeInto(eq->row(0).q, "3");
    typeInto(eq->row(0).gain, "-6");
    typeInto(eq->lowPass().freq, "8000");
    eq->highPass().type->setCurrentIndex(10);
    emit eq->highPass().type->activated(10);
    eq->row(1).type->setCurrentIndex(EqTypeLowShelf);
    emit eq->row(1).type->activated(EqTypeLowShelf);
    for (int i = 0; i < 3; ++i)
        eq->row(1).gainSpin->upButton()->click();
    drag(QPoint(294, 86), QPoint(500, 60));
    openEqPage(MainChannelIndex);
    typeInto(eq->row(5).gain, "4.4");
    typeInto(eq->highPass().freq, "30");
    eq->row(2).freqSpin->downButton()->click();

    const ChannelModel& m = w.session().model;
    EXPECT_EQ(m.band(12).freq, 136);
    EXPECT_EQ(m.band(13).shelfGain, 123);
    EXPECT_EQ(m.band(13).peakGain, 120);
    EXPECT_NE(m.band(15), EqBand{}) << "the dragged marker moved band 4";
    EXPECT_EQ(m.crossover(2).hpf.type, 10);
    EXPECT_EQ(m.band(23).peakGain, 142);
    EXPECT_FALSE(unitMatchesModel()) << "edits are paced, not sent at once";

    clock.advance(12 * 510 + 1000);
    EXPECT_TRUE(unitMatchesModel());
    EXPECT_EQ(demo.unit().malformedFrames(), 0);
}

TEST_F(EqEditingFlowTest, ZeroDbLocksTheWindowUntilItsSixMessagesHaveGone) {
    writeSettings("[Personal settings]\r\nChannel mode=1\r\n");
    ChannelModel start;
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        start.band(bandAddress(2, row)).peakGain = 60 + row;
        start.band(bandAddress(2, row)).shelfGain = 30;
    }
    start.band(bandAddress(2, 1)).type = EqTypeHighShelf;
    demo.unit().setCurrentSet(encodeBlock(start, demo.unit().currentSet()));

    // Without a link the button does nothing at all.
    MainWindow& w = openWindow();
    EqPage* eq = w.eqPage();
    openEqPage(2);
    typeInto(eq->row(0).gain, "-6");
    QTest::mouseClick(eq->zeroDbButton(), Qt::LeftButton);
    EXPECT_FALSE(w.progressBox()->isVisible());
    EXPECT_EQ(eq->row(0).gain->text(), "-6");
    EXPECT_EQ(w.session().model.band(12).peakGain, 90);

    connect();
    ASSERT_EQ(w.session().linkOpen, 1);
    openEqPage(2);
    EXPECT_EQ(eq->row(0).gain->text(), "-12");
    QTest::mouseClick(eq->zeroDbButton(), Qt::LeftButton);
    ProgressBox* progress = w.progressBox();
    ASSERT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->pos(), QPoint(208, 448));
    EXPECT_EQ(progress->percent(), 0);
    for (QWidget* locked :
         {static_cast<QWidget*>(eq), static_cast<QWidget*>(w.channelGroup()),
          static_cast<QWidget*>(w.topGroup()), static_cast<QWidget*>(w.fileBox())})
        EXPECT_FALSE(locked->isEnabled());
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        EXPECT_EQ(eq->row(row).gain->text(), "0");
        EXPECT_EQ(w.session().model.band(bandAddress(2, row)).gainInForce(), 120);
    }
    EXPECT_EQ(w.session().model.band(13).peakGain, 61) << "a shelf's peaking gain stays";

    clock.advance(215);
    for (int step = 1; step < 6; ++step) {
        EXPECT_EQ(progress->percent(), 16 * step);
        EXPECT_TRUE(progress->isVisible());
        clock.advance(510);
    }
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(eq->isEnabled());
    EXPECT_TRUE(w.channelGroup()->isEnabled());
    EXPECT_TRUE(w.topGroup()->isEnabled());
    EXPECT_TRUE(w.fileBox()->isEnabled());
    EXPECT_TRUE(unitMatchesModel());
    EXPECT_EQ(demo.unit().malformedFrames(), 0);
}

} // namespace
} // namespace m7410::test
