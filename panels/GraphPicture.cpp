#include "panels/GraphPicture.h"

#include <QMouseEvent>
#include <QPainter>

namespace m7410 {

GraphPicture::GraphPicture(QWidget* parent)
    : QWidget(parent), image(GraphWidth, GraphHeight, QImage::Format_RGB32) {
    image.fill(QColor(20, 20, 20));
    setFixedSize(GraphWidth, GraphHeight);
    setAccessibleName(tr("Response graph"));
    setAccessibleDescription(tr("Frequency response of the channel from 20 Hz to 20 kHz and "
                                "+15 dB to -30 dB; drag a numbered marker to move its EQ band"));
}

void GraphPicture::setPicture(const QImage& picture) {
    image = picture;
    update();
}

void GraphPicture::setOverlay(std::function<void(QPainter&)> paint) {
    overlay = std::move(paint);
    update();
}

QImage GraphPicture::shown() const {
    QImage out = image;
    QPainter p(&out);
    if (overlay) overlay(p);
    return out;
}

void GraphPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image);
    if (overlay) overlay(p);
}

void GraphPicture::mousePressEvent(QMouseEvent* event) {
    emit pressedAt(event->position().toPoint(), event->button());
}

void GraphPicture::mouseMoveEvent(QMouseEvent* event) {
    emit movedTo(event->position().toPoint());
}

void GraphPicture::mouseReleaseEvent(QMouseEvent* event) {
    emit released(event->position().toPoint());
}

} // namespace m7410
