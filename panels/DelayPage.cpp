#include "panels/DelayPage.h"

#include "model/DisplayFormats.h"
#include "panels/FilteredField.h"

#include <QLabel>
#include <QSlider>

namespace m7410 {

DelayPage::DelayPage(PanelContext context, QWidget* parent)
    : PageFrame(tr("Delay page"), parent), ctx(context),
      field(new FilteredField(QStringLiteral("0123456789."), tr("Delay"), this)),
      metres(new QLabel(this)), feet(new QLabel(this)), delaySlider(new QSlider(this)) {
    setTitle(tr("Delay"));
    field->setGeometry(10, 26, 90, 21);
    metres->setGeometry(110, 28, 70, 17);
    feet->setGeometry(185, 28, 70, 17);
    // Their texts are their accessible names, so a screen reader reads the values.
    metres->setAccessibleDescription(tr("Delay in metres"));
    feet->setAccessibleDescription(tr("Delay in feet"));
    delaySlider->setOrientation(Qt::Horizontal);
    delaySlider->setGeometry(8, 54, 250, 24);
    delaySlider->setAccessibleName(tr("Delay slider"));
    delaySlider->setRange(0, OutputDelayMax);
    delaySlider->setSingleStep(1);
    delaySlider->setPageStep(1);
    resize(266, 86);
    // The slider sets the delay; the field only shows it.
    setFocusProxy(delaySlider);
    showTexts(0);

    connect(delaySlider, &QSlider::valueChanged, this, &DelayPage::sliderChanged);
    // The field only shows the delay: whatever is typed goes back on Enter and on leaving.
    connect(field, &FilteredField::entered, this, [this] { ctx.edit.enterField(field->text()); });
    connect(field, &FilteredField::enterPressed, this,
            [this] { field->setText(ctx.edit.entryText); });
    connect(field, &FilteredField::left, this, [this] {
        ctx.edit.leaveField();
        field->setText(ctx.edit.entryText);
    });
}

void DelayPage::showTexts(int32_t steps) {
    const DelayTexts t = formatDelay(steps);
    field->setText(QString::fromStdString(t.ms));
    metres->setText(QString::fromStdString(t.metres));
    feet->setText(QString::fromStdString(t.feet));
}

void DelayPage::fill(int channel) {
    if (channel < 0 || channel >= ChannelCount) return;
    ctx.edit.updatingControls = 1;
    delaySlider->setValue(0);
    delaySlider->setMaximum(channel == MainChannelIndex ? MainDelayMax : OutputDelayMax);
    delaySlider->setValue(ctx.model.delay(channel));
    showTexts(ctx.model.delay(channel));
    ctx.edit.updatingControls = 0;
}

void DelayPage::sliderChanged(int position) {
    if (ctx.edit.updatingControls == 1) return;
    const int ch = ctx.edit.currentChannel;
    if (ch < 0 || ch >= ChannelCount) return;
    if (ch == MainChannelIndex)
        ctx.model.main.delay = position;
    else
        ctx.model.outputs[ch].delay = position;
    showTexts(position);
    if (ch == MainChannelIndex)
        ctx.builders.QueueMainBasicMessage();
    else
        ctx.builders.QueueBasicMessage(ch);
}

} // namespace m7410
