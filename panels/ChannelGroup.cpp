#include "panels/ChannelGroup.h"

#include "model/DisplayFormats.h"
#include "panels/ColourButton.h"
#include "panels/PanelColours.h"

#include <QEvent>
#include <QLabel>
#include <QSlider>

namespace m7410 {

namespace {

const char* const DefaultCaptions[ChannelCount] = {"Middle", "Low", "High", "Main"};

QString polarityText(int32_t phaseInvert) {
    return QString::fromStdString(formatPolarity(phaseInvert));
}

} // namespace

int ChannelGroup::rowTop(int channel) {
    switch (channel) {
    case MainChannelIndex:
        return 9;
    case 2:
        return 41;
    case 0:
        return 73;
    default:
        return 105;
    }
}

ChannelGroup::ChannelGroup(PanelContext context, QWidget* parent)
    : QGroupBox(parent), ctx(context) {
    setAccessibleName(tr("Channels"));
    resize(Width, FullHeight);
    for (int ch = 0; ch < ChannelCount; ++ch) {
        captions[ch] = new QLabel(tr(DefaultCaptions[ch]), this);
        captions[ch]->setGeometry(4, rowTop(ch) + 1, 104, 21);
    }
    buildMainRow();
    for (int ch : {2, 0, 1})
        buildOutputRow(ch);
    for (int ch = 0; ch < ChannelCount; ++ch)
        nameRowControls(ch);
}

ColourButton* ChannelGroup::addPageButton(const QString& text, int page, int channel, int left,
                                          int width) {
    auto* b = new ColourButton(text, this);
    b->setGeometry(left, rowTop(channel), width, ButtonHeight);
    connect(b, &QPushButton::clicked, this,
            [this, page, channel] { emit pageRequested(page, channel); });
    return b;
}

void ChannelGroup::buildMainRow() {
    const int ch = MainChannelIndex;
    const int top = rowTop(ch);
    eqButtons[ch] = addPageButton(tr("Main EQ"), PageEq, ch, 112, 71);
    delayButtons[ch] = addPageButton(tr("Main delay"), PageDelay, ch, 205, 76);
    polarities[ch] = new QPushButton(this);
    showPolarityCaption(ch, 0);
    polarities[ch]->setGeometry(301, top, 42, ButtonHeight);
    connect(polarities[ch], &QPushButton::clicked, this,
            [this] { togglePolarity(MainChannelIndex); });
    auto* volumeCaption = new QLabel(tr("Volume"), this);
    volumeCaption->move(353, top + 4);
    volume = new QSlider(Qt::Horizontal, this);
    volume->setGeometry(404, top, 150, ButtonHeight);
    volume->setRange(0, VolumeMax);
    volume->setSingleStep(1);
    volume->setPageStep(1);
    volume->setAccessibleName(tr("Volume"));
    volumeValue = new QLabel(this);
    volumeValue->setGeometry(560, top + 4, Width - 2 - 560, 16);
    // The label's text is its accessible name, so a screen reader reads the value.
    volumeValue->setAccessibleDescription(tr("Volume value"));
    fitVolumeFont();
    showVolumeText(ctx.model.main.volume);
    connect(volume, &QSlider::valueChanged, this, &ChannelGroup::volumeChanged);
}

void ChannelGroup::buildOutputRow(int ch) {
    const int top = rowTop(ch);
    mutes[ch] = new ColourButton(tr("Mute"), this);
    mutes[ch]->setGeometry(112, top, 42, ButtonHeight);
    connect(mutes[ch], &QPushButton::clicked, this, [this, ch] { toggleMute(ch); });
    gainButtons[ch] = addPageButton(tr("Gain"), PageGain, ch, 160, 61);
    eqButtons[ch] = addPageButton(tr("HPF/LPF/EQ"), PageEq, ch, 228, 113);
    limiterButtons[ch] = addPageButton(tr("Limiter"), PageLimiter, ch, 349, 57);
    delayButtons[ch] = addPageButton(tr("Delay"), PageDelay, ch, 413, 49);
    polarities[ch] = new QPushButton(this);
    showPolarityCaption(ch, 0);
    polarities[ch]->setGeometry(469, top, 42, ButtonHeight);
    connect(polarities[ch], &QPushButton::clicked, this, [this, ch] { togglePolarity(ch); });
    if (ch == LimitedGainChannel) {
        // An indicator the unit's status drives; nothing to press.
        bass = new ColourButton(tr("Bass +"), this);
        bass->setGeometry(517, top, 55, ButtonHeight);
        bass->setEnabled(false);
    }
}

ColourButton* ChannelGroup::pageButton(int page, int channel) const {
    if (channel < 0 || channel >= ChannelCount) return nullptr;
    const bool output = channel < OutputChannelCount;
    switch (page) {
    case PageEq:
        return eqButtons[channel];
    case PageDelay:
        return delayButtons[channel];
    case PageLimiter:
        return output ? limiterButtons[channel] : nullptr;
    case PageGain:
        return output ? gainButtons[channel] : nullptr;
    default:
        return nullptr;
    }
}

std::vector<QWidget*> ChannelGroup::rowWidgets(int channel) const {
    std::vector<QWidget*> row{captions[channel], eqButtons[channel], delayButtons[channel],
                              polarities[channel]};
    if (channel < OutputChannelCount) {
        row.insert(row.end(), {gainButtons[channel], limiterButtons[channel], mutes[channel]});
        if (channel == LimitedGainChannel) row.push_back(bass);
    }
    return row;
}

void ChannelGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    for (int ch = 0; ch < OutputChannelCount; ++ch) {
        const bool shown = rowTop(ch) + ButtonHeight <= height();
        for (QWidget* w : rowWidgets(ch))
            w->setVisible(shown);
    }
}

void ChannelGroup::changeEvent(QEvent* event) {
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange && volumeValue != nullptr) fitVolumeFont();
}

void ChannelGroup::fitVolumeFont() {
    // Between the slider and the file box there is no room for the widest value in the rows'
    // font, so the value takes the largest size at which every volume text fits.
    QFont f = font();
    const QFontMetrics rowMetrics(f);
    QString widest;
    for (int v = 0; v <= VolumeMax; ++v) {
        const QString t = QString::fromStdString(formatVolume(v));
        if (rowMetrics.horizontalAdvance(t) > rowMetrics.horizontalAdvance(widest)) widest = t;
    }
    const int room = volumeValue->contentsRect().width();
    for (double size = f.pointSizeF(); size > 6; size -= 0.5) {
        f.setPointSizeF(size);
        if (QFontMetrics(f).horizontalAdvance(widest) <= room) break;
    }
    volumeValue->setFont(f);
}

void ChannelGroup::setRowCaption(int channel, const QString& caption) {
    captions.at(channel)->setText(caption);
    nameRowControls(channel);
}

void ChannelGroup::nameRowControls(int channel) {
    // Screen readers name each row's controls after the row.
    const QString row = captions[channel]->text() + QLatin1Char(' ');
    for (int page : {PageEq, PageLimiter, PageDelay, PageGain}) {
        if (ColourButton* b = pageButton(page, channel)) b->setAccessibleName(row + b->text());
    }
    polarities[channel]->setAccessibleName(row + tr("polarity"));
    if (channel < OutputChannelCount) mutes[channel]->setAccessibleName(row + tr("Mute"));
}

void ChannelGroup::setBassOn(bool on) {
    bass->setColour(on ? MutedColour : IdleColour);
}

void ChannelGroup::showModel() {
    for (int ch = 0; ch < OutputChannelCount; ++ch)
        showMute(ch, ctx.model.outputs[ch].outputOn != 0);
    for (int ch = 0; ch < ChannelCount; ++ch)
        showPolarity(ch, ctx.model.phaseInvert(ch) != 0);
    showVolume(ctx.model.main.volume);
}

void ChannelGroup::showMute(int channel, bool soundOn) {
    mutes.at(channel)->setColour(soundOn ? IdleColour : MutedColour);
    // The state shows as a colour; a screen reader gets it in words.
    mutes.at(channel)->setAccessibleDescription(soundOn ? tr("sound on") : tr("muted"));
}

void ChannelGroup::showPolarity(int channel, bool inverted) {
    showPolarityCaption(channel, inverted ? 1 : 0);
}

void ChannelGroup::showPolarityCaption(int channel, int32_t phaseInvert) {
    // The name says which control it is; the description says what its caption shows.
    const QString caption = polarityText(phaseInvert);
    polarities.at(channel)->setText(caption);
    polarities.at(channel)->setAccessibleDescription(caption);
}

void ChannelGroup::showVolume(int position) {
    ctx.edit.updatingControls = 1;
    volume->setValue(position);
    ctx.edit.updatingControls = 0;
    showVolumeText(volume->value());
}

void ChannelGroup::toggleMute(int ch) {
    int32_t& on = ctx.model.outputs.at(ch).outputOn;
    on = on == 1 ? 0 : 1;
    showMute(ch, on == 1);
    ctx.builders.QueueBasicMessage(ch);
}

void ChannelGroup::togglePolarity(int ch) {
    int32_t& invert =
        ch == MainChannelIndex ? ctx.model.main.phaseInvert : ctx.model.outputs.at(ch).phaseInvert;
    invert = invert == 1 ? 0 : 1;
    showPolarityCaption(ch, invert);
    if (ch == MainChannelIndex)
        ctx.builders.QueueMainBasicMessage();
    else
        ctx.builders.QueueBasicMessage(ch);
}

void ChannelGroup::showVolumeText(int value) {
    volumeValue->setText(QString::fromStdString(formatVolume(value)));
}

void ChannelGroup::volumeChanged(int value) {
    if (ctx.edit.updatingControls != 0) return;
    showVolumeText(value);
    ctx.model.main.volume = value;
    ctx.builders.QueueMainBasicMessage();
}

} // namespace m7410
