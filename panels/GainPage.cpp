#include "panels/GainPage.h"

#include "model/DisplayFormats.h"
#include "model/NearestIndex.h"
#include "model/TypedValues.h"
#include "model/ValueTables.h"
#include "panels/FaderPictures.h"
#include "panels/FilteredField.h"
#include "panels/GainFader.h"
#include "panels/SpinButtons.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

namespace m7410 {

namespace {

// The knob's top sits five rows above its reference row.
constexpr int KnobCentreOffset = 5;
constexpr double GainCeilingDb = 5.0;

int knobTopForIndex(int32_t gain) {
    return knobRowForGain(OutputGainTable.at(gain)) - KnobCentreOffset;
}

} // namespace

GainPage::GainPage(PanelContext context, QWidget* parent)
    : PageFrame(tr("Gain page"), parent), ctx(context), faderPicture(new GainFader(this)),
      field(new FilteredField(QStringLiteral("0123456789.-"), tr("Gain"), this)),
      spin(new SpinButtons(tr("Gain"), this)) {
    setTitle(tr("Gain"));
    faderPicture->move(6, 24);
    faderPicture->drawKnob(knobTops[0], false);
    auto* caption = new QLabel(tr("Gain:"), this);
    caption->move(10, 282);
    field->setGeometry(48, 278, 80, 21);
    spin->setGeometry(130, 278, 17, 21);
    resize(175, 308);

    field->setStepKeys(true);
    setFocusProxy(field);
    connect(field, &FilteredField::stepRequested, this, &GainPage::step);
    connect(spin, &SpinButtons::upClicked, this, &GainPage::stepUp);
    connect(spin, &SpinButtons::downClicked, this, &GainPage::stepDown);
    connect(field, &FilteredField::entered, this, [this] { ctx.edit.enterField(field->text()); });
    connect(field, &FilteredField::enterPressed, this, &GainPage::commitTypedGain);
    connect(field, &FilteredField::left, this, [this] {
        ctx.edit.leaveField();
        if (field->text() != ctx.edit.entryText) commitTypedGain();
    });
    connect(faderPicture, &GainFader::pressedAt, this, &GainPage::knobPress);
    connect(faderPicture, &GainFader::movedTo, this, &GainPage::knobMove);
    connect(faderPicture, &GainFader::released, this, &GainPage::knobRelease);
}

bool GainPage::editsOutput() const {
    return ctx.edit.currentChannel >= 0 && ctx.edit.currentChannel < OutputChannelCount;
}

void GainPage::fill(int channel) {
    if (channel < 0 || channel >= OutputChannelCount) return;
    showGain(channel);
}

void GainPage::showGain(int channel) {
    const int32_t gain = std::clamp(ctx.model.outputs[channel].gain, 0, GainIndexMax);
    knobTops[channel] = knobTopForIndex(gain);
    faderPicture->drawKnob(knobTops[channel], false);
    showValue(QString::fromStdString(formatOutputGain(gain)));
}

void GainPage::showValue(const QString& shown) {
    field->setText(shown);
    // A field holding the focus (the page gives it on opening) takes a gain stored some other
    // way as its entry text, so leaving it does not send the same gain again.
    if (field->hasFocus()) ctx.edit.entryText = shown;
}

void GainPage::gainRefresh() {
    showGain(ctx.edit.currentChannel);
    ctx.builders.QueueBasicMessage(ctx.edit.currentChannel);
}

void GainPage::stepUp() {
    if (!editsOutput()) return;
    const int ch = ctx.edit.currentChannel;
    int32_t& gain = ctx.model.outputs[ch].gain;
    if (gain >= gainLimitOf(ch)) return;
    ++gain;
    gainRefresh();
}

void GainPage::stepDown() {
    if (!editsOutput()) return;
    int32_t& gain = ctx.model.outputs[ctx.edit.currentChannel].gain;
    if (gain <= 0) return;
    --gain;
    gainRefresh();
}

void GainPage::step(int steps) {
    if (!editsOutput()) return;
    const int ch = ctx.edit.currentChannel;
    int32_t& gain = ctx.model.outputs[ch].gain;
    const int32_t next = std::clamp(gain + steps, 0, gainLimitOf(ch));
    if (next == gain) return;
    gain = next;
    gainRefresh();
}

void GainPage::commitTypedGain() {
    if (!editsOutput()) return;
    const int ch = ctx.edit.currentChannel;
    QString text = field->text();
    if (text.endsWith(QStringLiteral(" dB")))
        text.chop(3);
    else if (text.endsWith(QStringLiteral("dB")))
        text.chop(2);
    bool ok = false;
    const double dB = text.toDouble(&ok);
    if (!ok || !std::isfinite(dB)) {
        field->setText(ctx.edit.entryText);
        return;
    }
    ctx.model.outputs[ch].gain = snapOutputGain(dB, ch);
    gainRefresh();
    ctx.edit.entryText = field->text();
}

void GainPage::knobPress(QPoint pos) {
    if (!editsOutput()) return;
    const int top = knobTops[ctx.edit.currentChannel];
    // A miss also ends a drag whose release never came (the page was closed under a held
    // button), so that drag cannot carry over to this press.
    ctx.edit.dragging = pos.x() > KnobLeft && pos.x() < KnobLeft + KnobWidth && pos.y() > top &&
                        pos.y() < top + KnobHeight;
    if (ctx.edit.dragging) faderPicture->drawKnob(top, true);
}

void GainPage::knobMove(QPoint pos) {
    if (!ctx.edit.dragging || !editsOutput()) return;
    const int ch = ctx.edit.currentChannel;
    const int y = pos.y();
    if (y >= TrackTop && y <= TrackBottom) {
        knobTops[ch] = y - KnobCentreOffset;
        faderPicture->drawKnob(knobTops[ch], true);
        // One decimal, truncated toward zero, so the value always lies on the 0.1 dB table.
        const double dB =
            std::trunc((GainCeilingDb - (y - TrackTop) * 25.0 / (TrackBottom - TrackTop)) * 10) /
            10;
        showValue(QString::fromStdString(formatDb(dB)));
        const int index = outputGainIndexOf(dB);
        if (index >= 0) ctx.model.outputs[ch].gain = index;
    }
    ctx.builders.QueueBasicMessage(ch);
}

void GainPage::knobRelease() {
    if (!ctx.edit.dragging) return;
    if (editsOutput()) faderPicture->drawKnob(knobTops[ctx.edit.currentChannel], false);
    ctx.edit.dragging = false;
}

} // namespace m7410
