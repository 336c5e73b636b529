#include "panels/GainFader.h"

#include "panels/FaderPictures.h"

#include <QMouseEvent>
#include <QPainter>

namespace m7410 {

GainFader::GainFader(QWidget* parent)
    : QWidget(parent), track(faderTrackPicture()), knob(knobPicture(false)),
      pressedKnob(knobPicture(true)), image(track) {
    setAccessibleName(tr("Gain fader"));
    setAccessibleDescription(tr("Drag the knob to set the output gain from +5.0 dB to -20.0 dB"));
    setFixedSize(FaderWidth, FaderHeight);
}

QSize GainFader::sizeHint() const {
    return {FaderWidth, FaderHeight};
}

void GainFader::drawKnob(int knobTop, bool pressed) {
    image = track;
    QPainter p(&image);
    p.drawImage(KnobLeft, knobTop, pressed ? pressedKnob : knob);
    p.end();
    update();
}

void GainFader::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image);
}

void GainFader::mousePressEvent(QMouseEvent* event) {
    emit pressedAt(event->position().toPoint());
}

void GainFader::mouseMoveEvent(QMouseEvent* event) {
    emit movedTo(event->position().toPoint());
}

void GainFader::mouseReleaseEvent(QMouseEvent*) {
    emit released();
}

} // namespace m7410
