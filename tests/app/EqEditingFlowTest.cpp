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
    void connect() {
        clock.runDue();
        QTest::mouseClick(window->topGroup()->connectButton(), Qt::LeftButton);
        clock.advance(3000);
        ASSERT_EQ(window->session().linkOpen(), 1);
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
    bool unitMatchesModel() {
        const BlockData& set = demo.unit().currentSet();
        return encodeBlock(window->session().model(), set) == set &&
               demo.unit().malformedFrames() == 0;
    }
};

TEST_F(EqEditingFlowTest, TheUnitEndsWithTheSetEditedOnTheEqPages) {
    EqPage* eq = openWindow().eqPage();
    connect();
    openEqPage(2);
    typeInto(eq->row(0).freq, "1010");
    typeInto(eq->lowPass().freq, "8000");
    eq->row(1).type->setCurrentIndex(EqTypeLowShelf);
    emit eq->row(1).type->activated(EqTypeLowShelf);
    eq->row(1).gainSpin->upButton()->click();
    GraphPicture* g = eq->graph();
    QTest::mousePress(g, Qt::LeftButton, {}, QPoint(294, 86));
    QMouseEvent move(QEvent::MouseMove, QPoint(500, 60), g->mapToGlobal(QPoint(500, 60)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(g, &move);
    QTest::mouseRelease(g, Qt::LeftButton, {}, QPoint(500, 60));
    openEqPage(MainChannelIndex);
    typeInto(eq->row(5).gain, "4.4");
    EXPECT_NE(window->session().model().band(15).freq, EqStartFreq[3]) << "the dragged band moved";
    EXPECT_FALSE(unitMatchesModel()) << "edits are paced, not sent at once";

    clock.advance(6 * 510 + 1000);
    EXPECT_TRUE(unitMatchesModel());
}

TEST_F(EqEditingFlowTest, ZeroDbLocksTheWindowUntilItsSixMessagesHaveGone) {
    writeSettings("[Personal settings]\r\nChannel mode=1\r\n");
    ChannelModel start;
    for (int row = 0; row < EqRowsPerChannel; ++row)
        start.band(bandAddress(2, row)).peakGain = 60;
    start.band(bandAddress(2, 1)).type = EqTypeHighShelf;
    demo.unit().setCurrentSet(encodeBlock(start, demo.unit().currentSet()));
    MainWindow& w = openWindow();
    EqPage* eq = w.eqPage();
    ProgressBox* progress = w.progressBox();

    openEqPage(2);
    typeInto(eq->row(0).gain, "-6");
    QTest::mouseClick(eq->zeroDbButton(), Qt::LeftButton);
    EXPECT_FALSE(progress->isVisible()) << "without a link the button does nothing";
    EXPECT_EQ(eq->row(0).gain->text(), "-6");

    connect();
    openEqPage(2);
    QTest::mouseClick(eq->zeroDbButton(), Qt::LeftButton);
    ASSERT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->pos(), QPoint(208, 448));
    const std::vector<QWidget*> locked = {eq, w.channelGroup(), w.topGroup(), w.fileBox()};
    for (QWidget* panel : locked)
        EXPECT_FALSE(panel->isEnabled());
    for (int row = 0; row < EqRowsPerChannel; ++row)
        EXPECT_EQ(eq->row(row).gain->text(), "0");
    EXPECT_EQ(w.session().model().band(13).peakGain, 60) << "a shelf keeps its peaking gain";

    clock.advance(215);
    for (int sent = 1; sent < 6; ++sent) {
        EXPECT_EQ(progress->percent(), 16 * sent);
        clock.advance(510);
    }
    EXPECT_FALSE(progress->isVisible());
    for (QWidget* panel : locked)
        EXPECT_TRUE(panel->isEnabled());
    EXPECT_TRUE(unitMatchesModel());
}

} // namespace
} // namespace m7410::test
