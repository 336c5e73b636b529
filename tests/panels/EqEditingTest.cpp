#include "PanelFixture.h"

#include "panels/EqEditor.h"
#include "panels/FilteredField.h"
#include "panels/GraphPicture.h"
#include "panels/MarkerEditor.h"
#include "panels/SpinButtons.h"
#include "response/ResponseGraph.h"

#include <QComboBox>
#include <QMouseEvent>
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
    // Replaces a field's text by typing, then presses Enter.
    static QString typeInto(FilteredField* f, const QString& keys) {
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
    void moveTo(QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, pos, eq->graph()->mapToGlobal(pos), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(eq->graph(), &move);
    }

    ResponseGraph graph{model};
    EqEditor editor{ctx, *eq, graph};
    MarkerEditor markers{ctx, *eq, graph, editor};
};

TEST_F(EqEditingTest, TypedValuesAreLimitedSnappedAndQueuedBadTextIsRestored) {
    pages->openPage(PageEq, 0);
    const EqRowControls& r = eq->row(2);
    const std::pair<FilteredField*, QString> typed[] = {{r.freq, "50"},
                                                        {r.freq, "1010"},
                                                        {r.q, "1.15"},
                                                        {r.q, QString(400, '9')},
                                                        {r.gain, "-30"},
                                                        {r.gain, "-2e0"},
                                                        {eq->lowPass().freq, "30000"},
                                                        {eq->highPass().freq, "5"}};
    const char* shown[] = {"49.6", "1000", "1.2", "36", "-24", "-20", "21900", "19.7"};
    for (std::size_t i = 0; i < std::size(typed); ++i)
        EXPECT_EQ(typeInto(typed[i].first, typed[i].second), shown[i]) << typed[i].second.size();
    EXPECT_EQ(typeInto(r.gain, "13"), "12") << "letters never reach the field";
    EXPECT_EQ(model.band(2), (EqBand{136, 0, 180, 120, 179}));
    EXPECT_EQ(pending.raised[5].data(2), 20);
    ASSERT_EQ(pending.raised.size(), 9u) << "one message per committed edit";
    EXPECT_EQ(pending.raised[5].slot, slotOf(eqBandGroup(2)));
    EXPECT_EQ(pending.raised[5].data(0), 136);
    EXPECT_EQ(pending.raised[5].data(6), 179);
    EXPECT_EQ(pending.raised[6].slot, slotOf(crossoverGroup(0)));
    EXPECT_EQ(pending.raised[6].data(4), 243);

    // Two decimal points, a lone sign or an empty field put the entry text back, on Enter and
    // on leaving alike; nothing is stored or sent.
    EXPECT_EQ(typeInto(r.freq, "1.2.3"), "1000");
    EXPECT_EQ(typeInto(r.gain, "-"), "12");
    r.freq->setFocus();
    r.freq->selectAll();
    QTest::keyClick(r.freq, Qt::Key_Backspace);
    r.q->setFocus();
    EXPECT_EQ(r.freq->text(), "1000");
    EXPECT_EQ(pending.raised.size(), 9u);

    // With the link closed the model and the picture change, but nothing is queued.
    linkOpen = 0;
    const QImage before = eq->graph()->picture();
    EXPECT_EQ(typeInto(eq->lowPass().freq, "1000"), "1000");
    EXPECT_EQ(model.crossover(0).lpf.freq, 136);
    EXPECT_NE(eq->graph()->picture(), before);
    EXPECT_EQ(pending.raised.size(), 9u);
}

TEST_F(EqEditingTest, SpinButtonsStopAtTheTableEndsAndTypeSwitchKeepsBothGains) {
    EqBand& b = model.band(bandAddress(2, 0));
    b = EqBand{243, 0, 130, 100, 179};
    pages->openPage(PageEq, 2);
    const EqRowControls& r = eq->row(0);
    for (SpinButtons* s : {r.freqSpin, r.qSpin, eq->lowPass().spin})
        s->upButton()->click();
    eq->highPass().spin->downButton()->click();
    EXPECT_TRUE(pending.raised.empty());
    r.freqSpin->downButton()->click();
    EXPECT_EQ(r.freq->text(), "21300");

    choose(r.type, EqTypeHighShelf);
    EXPECT_EQ(r.gain->text(), "-4");
    EXPECT_FALSE(r.q->isEnabled());
    EXPECT_TRUE(r.q->text().isEmpty());
    r.gainSpin->upButton()->click();
    EXPECT_EQ(pending.raised.back().slot, slotOf(eqBandGroup(12)));
    EXPECT_EQ(pending.raised.back().data(1), 2);
    EXPECT_EQ(pending.raised.back().data(2), 130);
    EXPECT_EQ(pending.raised.back().data(4), 101);
    choose(r.type, EqTypePeaking);
    EXPECT_EQ(r.gain->text(), "2");
    EXPECT_EQ(r.q->text(), "36");

    choose(eq->highPass().type, 11); // the first output row offers the 48 dB types
    EXPECT_EQ(pending.raised.back().slot, slotOf(crossoverGroup(2)));
    EXPECT_EQ(pending.raised.back().data(1), 11);
}

TEST_F(EqEditingTest, DraggingAMarkerMovesItsBandAndQueuesItsMessage) {
    pages->openPage(PageEq, 0);
    GraphPicture* picture = eq->graph();
    // A press 8 pixels from every marker starts nothing.
    QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(236 + 8, 86));
    moveTo(QPoint(430, 120));
    EXPECT_TRUE(pending.raised.empty());
    EXPECT_TRUE(eq->row(0).freq->hasFocus()) << "a press first takes focus to row 1";

    QTest::mousePress(picture, Qt::RightButton, {}, QPoint(236 + 7, 86 - 7));
    ASSERT_EQ(edit.currentBand, 2);
    // Above the plot the marker moves sideways only: its gain stays however often it moves.
    for (int x : {300, 294, 294})
        moveTo(QPoint(x, 10));
    EXPECT_EQ(model.band(2).freq, 80);
    EXPECT_EQ(model.band(2).peakGain, 120);
    moveTo(QPoint(430, 120));
    EXPECT_EQ(model.band(2).freq, 136);
    EXPECT_EQ(model.band(2).peakGain, 84);
    EXPECT_EQ(eq->row(2).gain->text(), "-7.2");
    EXPECT_EQ(picture->picture().pixel(430, 120), qRgb(0, 252, 255)) << "snapped marker";
    moveTo(QPoint(689, 198));
    EXPECT_EQ(model.band(2).freq, 243);
    EXPECT_EQ(model.band(2).peakGain, 0);
    QTest::mouseRelease(picture, Qt::RightButton, {}, QPoint(689, 198));
    moveTo(QPoint(300, 100));
    EXPECT_EQ(pending.raised.size(), 5u);
    for (const RecordedMessage& m : pending.raised)
        EXPECT_EQ(m.slot, slotOf(eqBandGroup(2)));
    EXPECT_EQ(pending.raised.back().data(0), 243);

    // A page closed in the middle of a drag never sees its release; a later press that misses
    // every marker must not carry that drag on.
    QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(101, 86));
    ASSERT_TRUE(edit.dragging);
    pages->closeCurrentPage();
    pages->openPage(PageEq, 0);
    QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(600, 150));
    moveTo(QPoint(300, 100));
    EXPECT_EQ(model.band(0).freq, 0);
    EXPECT_EQ(pending.raised.size(), 5u);
}

} // namespace
} // namespace m7410::test
