#include "PanelFixture.h"

#include "panels/ColourButton.h"
#include "panels/FilteredField.h"
#include "panels/PanelColours.h"

#include <QComboBox>
#include <QGroupBox>
#include <QTest>
#include <QToolButton>

namespace m7410::test {
namespace {

class PageSwitcherTest : public PanelFixture {};

// Counts how often a widget is hidden, to see whether the EQ panel flickers between pages.
class HideCounter : public QObject {
public:
    int hides = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Hide) ++hides;
        return false;
    }
};

TEST_F(PageSwitcherTest, PopUpsOpenAtTheButtonCornerRefillAndMove) {
    ColourButton* secondRowGain = rows->pageButton(PageGain, 0);
    ColourButton* thirdRowGain = rows->pageButton(PageGain, 1);
    QTest::mouseClick(secondRowGain, Qt::LeftButton);
    EXPECT_EQ(edit.currentPage, PageGain);
    EXPECT_EQ(edit.currentChannel, 0);
    EXPECT_TRUE(gain->isVisible());
    EXPECT_EQ(gain->pos(), QPoint(7 + 160 + 61, 98 + 73 + 23));
    EXPECT_EQ(secondRowGain->colour(), OpenPageColour);
    EXPECT_EQ(gain->title(), "Gain");

    // Pressing the open page's button again keeps it open and shows the model afresh.
    model.outputs[0].gain = 200;
    QTest::mouseClick(secondRowGain, Qt::LeftButton);
    EXPECT_TRUE(gain->isVisible());
    EXPECT_EQ(gain->gainField()->text(), "0.0 dB");
    EXPECT_EQ(secondRowGain->colour(), OpenPageColour);

    QTest::mouseClick(thirdRowGain, Qt::LeftButton);
    EXPECT_EQ(edit.currentChannel, 1);
    EXPECT_EQ(gain->pos(), QPoint(7 + 160 + 61, 98 + 105 + 23));
    EXPECT_EQ(secondRowGain->colour(), IdleColour);
    EXPECT_EQ(thirdRowGain->colour(), OpenPageColour);

    // The page's own close button closes it like any other close.
    QTest::mouseClick(gain->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(gain->isVisible());
    EXPECT_EQ(thirdRowGain->colour(), IdleColour);
    EXPECT_EQ(edit.currentPage, NoPage);
    EXPECT_EQ(edit.currentChannel, NoChannel);
    EXPECT_TRUE(pending.raised.empty()) << "opening and closing pages sends nothing";
}

TEST_F(PageSwitcherTest, EqPanelStaysUpBetweenEqPagesAndGoesForAnyOtherPage) {
    HideCounter counter;
    eq->installEventFilter(&counter);
    pages->openPage(PageEq, 2);
    ASSERT_TRUE(eq->isVisible());
    pages->openPage(PageEq, MainChannelIndex);
    EXPECT_TRUE(eq->isVisible());
    EXPECT_EQ(counter.hides, 0);
    EXPECT_EQ(rows->pageButton(PageEq, 2)->colour(), IdleColour);
    EXPECT_EQ(rows->pageButton(PageEq, MainChannelIndex)->colour(), OpenPageColour);
    EXPECT_EQ(eq->bandBox()->title(), "Main--EQ");
    EXPECT_EQ(eq->crossoverBox()->title(), "Main--H/LPF");

    pages->openPage(PageDelay, MainChannelIndex);
    EXPECT_FALSE(eq->isVisible());
    EXPECT_EQ(counter.hides, 1);
    EXPECT_FALSE(edit.keepEqPanel);
    EXPECT_EQ(delay->pos(), QPoint(7 + 205 + 76, 98 + 9 + 23));
}

TEST_F(PageSwitcherTest, PagesARowDoesNotHaveAreIgnoredAndEveryOpeningHidesTheOverlays) {
    int overlayHides = 0;
    pages->hideOverlays = [&] { ++overlayHides; };
    pages->openPage(PageGain, MainChannelIndex);
    pages->openPage(PageLimiter, MainChannelIndex);
    pages->openPage(PageGain, 7);
    EXPECT_EQ(edit.currentPage, NoPage);
    EXPECT_EQ(overlayHides, 0);
    pages->openPage(PageLimiter, 1);
    EXPECT_EQ(overlayHides, 1);
    EXPECT_TRUE(limiter->isVisible());
}

TEST_F(PageSwitcherTest, EqPageListsFilterTypesByRowAndShowsShelfBands) {
    model.outputs[0].crossover.hpf.type = 10; // a received set may hold a 48 dB type anywhere
    model.outputs[0].crossover.lpf.type = 4;
    model.outputs[2].crossover.lpf.type = 11;
    EqBand& shelf = model.band(bandAddress(0, 2));
    shelf.type = EqTypeHighShelf;
    shelf.shelfGain = 180;
    shelf.peakGain = 0;

    pages->openPage(PageEq, 2);
    EXPECT_EQ(eq->highPass().type->count(), 12);
    EXPECT_EQ(eq->lowPass().type->currentIndex(), 11);
    EXPECT_EQ(eq->highPass().freq->text(), "19.7");
    EXPECT_EQ(eq->lowPass().freq->text(), "21900");

    pages->openPage(PageEq, 0);
    EXPECT_EQ(eq->highPass().type->count(), 9);
    EXPECT_EQ(eq->lowPass().type->count(), 9);
    EXPECT_EQ(eq->highPass().type->currentIndex(), -1);
    EXPECT_EQ(eq->lowPass().type->currentText(), "18db-LR");
    EXPECT_EQ(model.outputs[0].crossover.hpf.type, 10) << "showing never changes the stored type";

    const EqRowControls& row3 = eq->row(2);
    EXPECT_EQ(row3.type->currentText(), "HS6");
    EXPECT_EQ(row3.gain->text(), "12");
    EXPECT_TRUE(row3.q->text().isEmpty());
    EXPECT_FALSE(row3.q->isEnabled());
    const EqRowControls& row6 = eq->row(5);
    EXPECT_EQ(row6.freq->text(), "1000");
    EXPECT_EQ(row6.q->text(), "1");
    EXPECT_EQ(row6.gain->text(), "0");
    EXPECT_TRUE(row6.q->isEnabled());
}

} // namespace
} // namespace m7410::test
