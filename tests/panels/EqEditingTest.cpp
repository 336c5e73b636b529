#include "PanelFixture.h"

#include "panels/EqEditor.h"
#include "panels/FilteredField.h"
#include "panels/GraphPicture.h"
#include "panels/MarkerEditor.h"
#include "panels/SpinButtons.h"
#include "response/ResponseGraph.h"

#include <QComboBox>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>

namespace m7410::test {
namespace {

class EqEditingTest : public PanelFixture {
protected:
    EqEditingTest() {
        pages->drawEqPage = [this](int channel) {
            graph.openPage(channel);
            eq->graph()->setPicture(graph.picture());
        };
    }

    // Types into a field as a user would (replacing its text), then presses Enter.
    static QString typeInto(FilteredField* f, const char* keys) {
        f->setFocus();
        f->selectAll();
        QTest::keyClicks(f, keys);
        QTest::keyClick(f, Qt::Key_Return);
        return f->text();
    }

    void choose(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    void press(QPoint pos) { QTest::mousePress(eq->graph(), Qt::LeftButton, {}, pos); }
    void moveTo(QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, pos, eq->graph()->mapToGlobal(pos), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(eq->graph(), &move);
    }
    void release(QPoint pos) { QTest::mouseRelease(eq->graph(), Qt::LeftButton, {}, pos); }

    QRgb shownPixel(int x, int y) const { return eq->graph()->picture().pixel(x, y); }

    ResponseGraph graph{model};
    EqEditor editor{ctx, *eq, graph};
    MarkerEditor markers{ctx, *eq, graph, editor};
};

TEST_F(EqEditingTest, TypedValuesAreLimitedSnappedToTheTablesAndQueued) {
    pages->openPage(PageEq, 0);
    const EqRowControls& r = eq->row(2);
    EXPECT_EQ(typeInto(r.freq, "50"), "49.6");
    EXPECT_EQ(model.band(2).freq, 32);
    EXPECT_EQ(typeInto(r.freq, "1010"), "1000");
    EXPECT_EQ(typeInto(r.freq, "99999"), "21900");
    EXPECT_EQ(typeInto(r.q, "1.15"), "1.2");
    EXPECT_EQ(model.band(2).q, 5);
    EXPECT_EQ(typeInto(r.q, "40"), "36");
    EXPECT_EQ(typeInto(r.q, "0"), "0.2");
    // Numbers beyond a double's range are still only numbers out of range.
    r.q->setText(QString(400, QLatin1Char('9')));
    QTest::keyClick(r.q, Qt::Key_Return);
    EXPECT_EQ(r.q->text(), "36");
    r.q->setText(QStringLiteral("0.") + QString(400, QLatin1Char('0')) + QStringLiteral("1"));
    QTest::keyClick(r.q, Qt::Key_Return);
    EXPECT_EQ(r.q->text(), "0.2");
    EXPECT_EQ(typeInto(r.gain, "-30"), "-24");
    EXPECT_EQ(typeInto(r.gain, "13"), "12");
    EXPECT_EQ(edit.currentBand, 2);
    ASSERT_EQ(pending.raised.size(), 10u) << "one message per committed edit";
    const RecordedMessage& band = pending.raised.back();
    EXPECT_EQ(band.slot, slotOf(eqBandGroup(2)));
    const int expected[8] = {243, 0, 180, 0, 120, 0, 0, 0};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(band.data(i), expected[i]) << "band byte " << i;

    const QImage before = eq->graph()->picture();
    EXPECT_EQ(typeInto(eq->lowPass().freq, "30000"), "21900");
    EXPECT_EQ(typeInto(eq->lowPass().freq, "1000"), "1000");
    EXPECT_EQ(model.crossover(0).lpf.freq, 136);
    EXPECT_EQ(typeInto(eq->highPass().freq, "100"), "99.2");
    EXPECT_EQ(typeInto(eq->highPass().freq, "5"), "19.7");
    EXPECT_EQ(model.crossover(0).hpf.freq, 0);
    EXPECT_NE(eq->graph()->picture(), before) << "the low-pass at 1 kHz bends the curve";
    const RecordedMessage& crossover = pending.raised.back();
    EXPECT_EQ(crossover.slot, slotOf(crossoverGroup(0)));
    EXPECT_EQ(crossover.data(0), 0);
    EXPECT_EQ(crossover.data(4), 136);

    // Leaving a changed field commits it as Enter does.
    r.freq->setFocus();
    r.freq->setText("500");
    r.gain->setFocus();
    EXPECT_EQ(model.band(2).freq, 112);
    EXPECT_EQ(pending.raised.size(), 15u);
}

TEST_F(EqEditingTest, TextThatIsNoNumberOrUnchangedRestoresAndCommitsNothing) {
    pages->openPage(PageEq, MainChannelIndex);
    FilteredField* f = eq->row(0).freq;
    f->setFocus();
    ASSERT_EQ(edit.entryText, "19.7");
    f->selectAll();
    QTest::keyClicks(f, "1e2x-");
    EXPECT_EQ(f->text(), "12") << "only digits and '.' reach a frequency field";
    f->selectAll();
    QTest::keyClicks(f, "1.2.3");
    QTest::keyClick(f, Qt::Key_Return);
    EXPECT_EQ(f->text(), "19.7");
    f->selectAll();
    QTest::keyClick(f, Qt::Key_Backspace);
    eq->row(0).q->setFocus();
    EXPECT_EQ(f->text(), "19.7") << "an empty field goes back to its entry text on leaving";

    FilteredField* g = eq->row(0).gain;
    EXPECT_EQ(typeInto(g, "-"), "0");
    g->setText("-"); // pasted text is held to the same rule
    eq->row(1).freq->setFocus();
    EXPECT_EQ(g->text(), "0");
    // Entering and leaving without a change commits nothing either.
    eq->highPass().freq->setFocus();
    eq->row(0).freq->setFocus();
    EXPECT_TRUE(pending.raised.empty());
    EXPECT_EQ(model, ChannelModel{});

    // With the link closed an edit still changes the model and the picture, but sends nothing.
    linkOpen = 0;
    const QImage before = eq->graph()->picture();
    EXPECT_EQ(typeInto(eq->row(3).gain, "6"), "6");
    EXPECT_EQ(model.band(bandAddress(MainChannelIndex, 3)).peakGain, 150);
    EXPECT_NE(eq->graph()->picture(), before);
    EXPECT_TRUE(pending.raised.empty());
}

TEST_F(EqEditingTest, SpinButtonsStepWithinTheTablesAndSendNothingAtTheBounds) {
    EqBand& b = model.band(bandAddress(1, 0));
    b.freq = 243;
    b.q = 179;
    b.peakGain = 180;
    model.crossover(1).hpf.freq = 0;
    pages->openPage(PageEq, 1);
    const EqRowControls& r = eq->row(0);
    for (SpinButtons* s : {r.freqSpin, r.qSpin, r.gainSpin, eq->lowPass().spin})
        s->upButton()->click();
    eq->highPass().spin->downButton()->click();
    EXPECT_TRUE(pending.raised.empty());
    EXPECT_EQ(b.freq, 243);

    r.freqSpin->downButton()->click();
    EXPECT_EQ(r.freq->text(), "21300");
    r.qSpin->downButton()->click();
    EXPECT_EQ(r.q->text(), "35.8");
    r.gainSpin->downButton()->click();
    EXPECT_EQ(r.gain->text(), "11.8");
    eq->lowPass().spin->downButton()->click();
    EXPECT_EQ(eq->lowPass().freq->text(), "21300");
    EXPECT_EQ(model.crossover(1).lpf.freq, 242);
    ASSERT_EQ(pending.raised.size(), 4u);
    EXPECT_EQ(pending.raised[2].slot, slotOf(eqBandGroup(6)));
    EXPECT_EQ(pending.raised[2].data(0), 242);
    EXPECT_EQ(pending.raised[2].data(2), 179);
    EXPECT_EQ(pending.raised[2].data(6), 178);
    EXPECT_EQ(pending.raised[3].slot, slotOf(crossoverGroup(1)));
}

TEST_F(EqEditingTest, TypeSwitchShowsTheOtherGainAndKeepsBoth) {
    EqBand& b = model.band(bandAddress(2, 4));
    b.peakGain = 130;
    b.shelfGain = 100;
    pages->openPage(PageEq, 2);
    const EqRowControls& r = eq->row(4);
    EXPECT_EQ(r.gain->text(), "2");

    choose(r.type, EqTypeHighShelf);
    EXPECT_EQ(r.gain->text(), "-4");
    EXPECT_TRUE(r.q->text().isEmpty());
    EXPECT_FALSE(r.q->isEnabled());
    EXPECT_FALSE(r.qSpin->isEnabled());
    ASSERT_EQ(pending.raised.size(), 1u);
    EXPECT_EQ(pending.raised[0].slot, slotOf(eqBandGroup(16)));
    EXPECT_EQ(pending.raised[0].data(1), 2);
    EXPECT_EQ(pending.raised[0].data(2), 130);
    EXPECT_EQ(pending.raised[0].data(4), 100);

    // The gain spin edits the shelf gain now; the peaking gain is untouched.
    r.gainSpin->upButton()->click();
    EXPECT_EQ(b.shelfGain, 101);
    choose(r.type, EqTypePeaking);
    EXPECT_EQ(r.gain->text(), "2");
    EXPECT_EQ(r.q->text(), "1");
    EXPECT_TRUE(r.q->isEnabled());
    EXPECT_EQ(b.peakGain, 130);

    // The first output row offers the 48 dB types.
    ASSERT_EQ(eq->highPass().type->count(), 12);
    choose(eq->highPass().type, 11);
    EXPECT_EQ(model.crossover(2).hpf.type, 11);
    EXPECT_EQ(pending.raised.back().slot, slotOf(crossoverGroup(2)));
    EXPECT_EQ(pending.raised.back().data(1), 11);
}

TEST_F(EqEditingTest, DraggingAMarkerMovesItsBandAndQueuesItsMessage) {
    pages->openPage(PageEq, 0);
    constexpr QRgb Row3 = qRgb(0, 252, 255);
    // Pressing beside every marker starts nothing and later moves do nothing.
    press(QPoint(236 + 8, 86));
    moveTo(QPoint(430, 120));
    release(QPoint(430, 120));
    EXPECT_TRUE(pending.raised.empty());
    EXPECT_TRUE(eq->row(0).freq->hasFocus()) << "a press first takes focus to row 1";

    press(QPoint(236 + 7, 86 - 7));
    EXPECT_EQ(edit.currentBand, 2);
    ASSERT_TRUE(edit.dragging);
    // Above the plot the marker only moves sideways; its gain stays however often it moves.
    for (int x : {300, 294, 294})
        moveTo(QPoint(x, 10));
    EXPECT_EQ(model.band(2).freq, 80);
    EXPECT_EQ(model.band(2).peakGain, 120);
    moveTo(QPoint(430, 120));
    EXPECT_EQ(model.band(2).freq, 136);
    EXPECT_EQ(model.band(2).peakGain, 84);
    EXPECT_EQ(eq->row(2).freq->text(), "1000");
    EXPECT_EQ(eq->row(2).gain->text(), "-7.2");
    EXPECT_EQ(shownPixel(430, 120), Row3) << "the marker snaps to the stored values";
    EXPECT_NE(shownPixel(236, 86), Row3);

    // The far ends of the ranges give the table's ends.
    moveTo(QPoint(689, 198));
    EXPECT_EQ(model.band(2).freq, 243);
    EXPECT_EQ(model.band(2).peakGain, 0);
    moveTo(QPoint(97, 32));
    EXPECT_EQ(model.band(2).freq, 0);
    EXPECT_EQ(model.band(2).peakGain, 180);
    release(QPoint(97, 32));
    EXPECT_FALSE(edit.dragging);
    const std::size_t sent = pending.raised.size();
    moveTo(QPoint(300, 100));
    EXPECT_EQ(pending.raised.size(), sent);
    for (const RecordedMessage& m : pending.raised)
        EXPECT_EQ(m.slot, slotOf(eqBandGroup(2)));
    EXPECT_EQ(pending.raised.back().data(0), 0);
    EXPECT_EQ(pending.raised.back().data(2), 180);

    // Two markers on one spot: the lower row is taken.
    moveTo(QPoint(300, 100));
    for (int row : {3, 4}) {
        model.band(row).freq = 136;
        graph.refreshBand(row);
    }
    press(QPoint(430, 86));
    EXPECT_EQ(edit.currentBand, 3);
}

} // namespace
} // namespace m7410::test
