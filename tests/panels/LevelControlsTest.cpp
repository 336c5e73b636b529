#include "PanelFixture.h"

#include "panels/ColourButton.h"
#include "panels/FaderPictures.h"
#include "panels/FilteredField.h"
#include "panels/GainFader.h"
#include "panels/PanelColours.h"
#include "panels/SpinButtons.h"

#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <QToolButton>

namespace m7410::test {
namespace {

class LevelControlsTest : public PanelFixture {
protected:
    // Types into the open Gain page's field as a user would, then presses Enter.
    QString typeGain(int channel, const char* keys) {
        pages->openPage(PageGain, channel);
        FilteredField* f = gain->gainField();
        f->setFocus();
        f->selectAll();
        QTest::keyClicks(f, keys);
        QTest::keyClick(f, Qt::Key_Return);
        return f->text();
    }
};

TEST_F(LevelControlsTest, TypedGainIsClampedPerRowSnappedAndQueued) {
    EXPECT_EQ(typeGain(0, "7"), "5.0 dB");
    EXPECT_EQ(model.outputs[0].gain, 250);
    EXPECT_EQ(typeGain(2, "3"), "0.0 dB") << "the first output row stops at 0.0 dB";
    EXPECT_EQ(model.outputs[2].gain, 200);
    EXPECT_EQ(typeGain(1, "-25 dB"), "-20.0 dB");
    EXPECT_EQ(typeGain(1, "2.04"), "2.0 dB");
    EXPECT_EQ(typeGain(1, "2.06"), "2.1 dB");
    EXPECT_EQ(model.outputs[1].gain, 221);
    EXPECT_EQ(gain->knobTop(1), 46 - 5) << "the knob follows the typed gain";

    ASSERT_FALSE(pending.raised.empty());
    const RecordedMessage& last = pending.raised.back();
    EXPECT_EQ(last.slot, slotOf(basicGroup(1)));
    EXPECT_EQ(last.data(0), 221);
}

TEST_F(LevelControlsTest, UnparsableOrUnchangedGainRestoresTheTextAndQueuesNothing) {
    pages->openPage(PageGain, 0);
    FilteredField* f = gain->gainField();
    f->setFocus();
    ASSERT_EQ(edit.entryText, "-8.0 dB");
    f->selectAll();
    QTest::keyClicks(f, "-x?e");
    EXPECT_EQ(f->text(), "-") << "letters and signs other than '-' and '.' are dropped";
    QTest::keyClick(f, Qt::Key_Return);
    EXPECT_EQ(f->text(), "-8.0 dB");
    EXPECT_EQ(model.outputs[0].gain, 120);

    // Leaving with the text it was entered with commits nothing; with another text it commits.
    rows->volumeSlider()->setFocus();
    EXPECT_EQ(edit.captureOnEntry, 1);
    EXPECT_TRUE(pending.raised.empty());
    f->setFocus();
    f->setText("-7");
    rows->volumeSlider()->setFocus();
    EXPECT_EQ(f->text(), "-7.0 dB");
    EXPECT_EQ(pending.raised.size(), 1u);
}

TEST_F(LevelControlsTest, SpinButtonsStopAtEachRowsLimits) {
    pages->openPage(PageGain, 0);
    model.outputs[0].gain = 250;
    gain->spinButtons()->upButton()->click();
    EXPECT_EQ(model.outputs[0].gain, 250);
    model.outputs[0].gain = 0;
    gain->spinButtons()->downButton()->click();
    EXPECT_EQ(model.outputs[0].gain, 0);
    EXPECT_TRUE(pending.raised.empty());
    gain->spinButtons()->upButton()->click();
    EXPECT_EQ(gain->gainField()->text(), "-19.9 dB");

    pages->openPage(PageGain, 2);
    model.outputs[2].gain = 199;
    gain->spinButtons()->upButton()->click();
    gain->spinButtons()->upButton()->click();
    EXPECT_EQ(model.outputs[2].gain, 200);
    EXPECT_EQ(pending.raised.size(), 2u);
}

TEST_F(LevelControlsTest, KnobDragCoversTheWholeScaleOnEveryOutput) {
    pages->openPage(PageGain, 2);
    EXPECT_EQ(gain->knobTop(2), 114) << "-8.0 dB puts the knob's reference row at 119";
    GainFader* fader = gain->fader();

    // A press beside the knob starts nothing and later moves do nothing.
    QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(73, 120));
    gain->knobMove(QPoint(79, 30));
    EXPECT_FALSE(edit.dragging);
    EXPECT_TRUE(pending.raised.empty());

    QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(79, 120));
    ASSERT_TRUE(edit.dragging);
    gain->knobMove(QPoint(79, 26));
    EXPECT_EQ(model.outputs[2].gain, 250) << "only the knob reaches +5.0 dB on the first row";
    EXPECT_EQ(gain->gainField()->text(), "5.0 dB");
    gain->knobMove(QPoint(79, 100));
    EXPECT_EQ(gain->gainField()->text(), "-5.3 dB");
    gain->knobMove(QPoint(79, 62)); // truncates to -0.0 dB
    EXPECT_EQ(gain->gainField()->text(), "0.0 dB");
    EXPECT_EQ(model.outputs[2].gain, 200);
    gain->knobMove(QPoint(79, 205));
    EXPECT_EQ(model.outputs[2].gain, 0);
    EXPECT_EQ(gain->gainField()->text(), "-20.0 dB");
    EXPECT_EQ(gain->knobTop(2), 200);
    // Past the track the knob stays, but the message still goes out.
    gain->knobMove(QPoint(79, 240));
    EXPECT_EQ(gain->knobTop(2), 200);
    EXPECT_EQ(pending.raised.size(), 5u);
    EXPECT_EQ(pending.raised.back().data(0), 0);
    QTest::mouseRelease(fader, Qt::LeftButton, {}, QPoint(79, 240));
    EXPECT_FALSE(edit.dragging);
    // The knob is drawn where the model says: its picture row 205 is the knob's face.
    EXPECT_NE(fader->picture().pixelColor(79, 205), faderTrackPicture().pixelColor(79, 205));

    // A drag whose release never came (the page closed under the button) does not carry over
    // to a later press beside the knob.
    QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(79, 206));
    ASSERT_TRUE(edit.dragging);
    pages->closeCurrentPage();
    pages->openPage(PageGain, 2);
    QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(20, 120));
    gain->knobMove(QPoint(79, 120));
    EXPECT_EQ(model.outputs[2].gain, 0);
    EXPECT_EQ(pending.raised.size(), 5u);
    // A page closed in the middle of a drag (the link lost, say) ends the drag with it.
    pages->openPage(PageGain, 2);
    QTest::mousePress(fader, Qt::LeftButton, {}, QPoint(79, 205));
    ASSERT_TRUE(edit.dragging);
    pages->closeCurrentPage();
    EXPECT_FALSE(edit.dragging);
    pages->openPage(PageGain, 2);
    const std::size_t sent = pending.raised.size();
    gain->knobMove(QPoint(79, 100));
    EXPECT_EQ(pending.raised.size(), sent);
    EXPECT_EQ(model.outputs[2].gain, 0);
}

TEST_F(LevelControlsTest, MuteTwiceQueuesOffThenOn) {
    ColourButton* mute = rows->muteButton(0);
    QTest::mouseClick(mute, Qt::LeftButton);
    EXPECT_EQ(mute->colour(), MutedColour);
    QTest::mouseClick(mute, Qt::LeftButton);
    EXPECT_EQ(mute->colour(), IdleColour);
    ASSERT_EQ(pending.raised.size(), 2u);
    EXPECT_EQ(pending.raised[0].slot, slotOf(basicGroup(0)));
    EXPECT_EQ(pending.raised[0].data(1), 0);
    EXPECT_EQ(pending.raised[1].data(1), 1);
}

TEST_F(LevelControlsTest, VolumeAndMainPolarityQueueTheMainBasicMessage) {
    QSlider* volume = rows->volumeSlider();
    volume->setValue(301);
    EXPECT_EQ(rows->volumeLabel()->text(), "0.0 dB");
    volume->setValue(0);
    EXPECT_EQ(rows->volumeLabel()->text(), "Mute");
    ASSERT_EQ(pending.raised.size(), 2u);
    const RecordedMessage& muted = pending.raised.back();
    EXPECT_EQ(muted.slot, slotOf(basicGroup(MainChannelIndex)));
    EXPECT_EQ(model.main.volume, 0);

    QTest::mouseClick(rows->polarityButton(MainChannelIndex), Qt::LeftButton);
    EXPECT_EQ(rows->polarityButton(MainChannelIndex)->text(), "-");
    EXPECT_EQ(model.main.phaseInvert, 1);
    EXPECT_EQ(pending.raised.back().slot, slotOf(basicGroup(MainChannelIndex)));

    // A set shown from outside moves the slider without being taken for an edit.
    model.main.volume = 1;
    rows->showModel();
    EXPECT_EQ(rows->volumeLabel()->text(), "-60.0 dB");
    EXPECT_EQ(pending.raised.size(), 3u);
}

TEST_F(LevelControlsTest, DelaySliderSendsOnlyUserMovesAndKeepsTheFieldReadOnly) {
    model.outputs[1].delay = 464;
    pages->openPage(PageDelay, 1);
    EXPECT_EQ(delay->slider()->maximum(), 464);
    EXPECT_EQ(delay->delayField()->text(), "9.744 Ms");
    EXPECT_EQ(delay->metresLabel()->text(), "3.356 Mm");
    EXPECT_EQ(delay->feetLabel()->text(), "11.011 Ft");
    pages->openPage(PageDelay, MainChannelIndex);
    EXPECT_EQ(delay->slider()->maximum(), 240);
    EXPECT_EQ(delay->slider()->value(), 0);
    EXPECT_TRUE(pending.raised.empty()) << "opening the page moves the slider without sending";

    delay->slider()->setValue(50);
    EXPECT_EQ(model.main.delay, 50);
    EXPECT_EQ(delay->delayField()->text(), "1.050 Ms");
    ASSERT_EQ(pending.raised.size(), 1u);
    EXPECT_EQ(pending.raised[0].slot, slotOf(basicGroup(MainChannelIndex)));

    FilteredField* f = delay->delayField();
    f->setFocus();
    QTest::keyClicks(f, "9");
    QTest::keyClick(f, Qt::Key_Return);
    EXPECT_EQ(f->text(), "1.050 Ms");
    EXPECT_EQ(model.main.delay, 50);
}

TEST_F(LevelControlsTest, LimiterChoiceStoresTheIndexAndQueuesTheLimiterMessage) {
    model.outputs[2].limiter.release = 3;
    pages->openPage(PageLimiter, 2);
    EXPECT_EQ(limiter->releaseList()->currentText(), "700ms");
    EXPECT_EQ(limiter->thresholdList()->count(), 20);
    limiter->attackList()->setCurrentIndex(6);
    emit limiter->attackList()->activated(6);
    EXPECT_EQ(model.outputs[2].limiter.attack, 6);
    ASSERT_EQ(pending.raised.size(), 1u);
    EXPECT_EQ(pending.raised[0].slot, slotOf(limiterGroup(2)));
    EXPECT_EQ(pending.raised[0].data(1), 6);
    EXPECT_EQ(pending.raised[0].data(2), 3);
}

TEST_F(LevelControlsTest, WithTheLinkClosedEditsChangeTheModelOnly) {
    linkOpen = 0;
    QTest::mouseClick(rows->muteButton(2), Qt::LeftButton);
    QTest::mouseClick(rows->polarityButton(1), Qt::LeftButton);
    EXPECT_EQ(model.outputs[2].outputOn, 0);
    EXPECT_EQ(model.outputs[1].phaseInvert, 1);
    EXPECT_TRUE(pending.raised.empty());
}

} // namespace
} // namespace m7410::test
