#include "app/LinkPictures.h"

#include <QPainter>

namespace m7410 {

QImage linkPicture(bool open) {
    QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor lit = open ? QColor(40, 190, 60) : QColor(150, 150, 150);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(lit);
    p.drawEllipse(QRectF(2.5, 2.5, 27, 27));
    // A plug: two prongs and a body, joined when the link is open, apart when it is not.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const qreal gap = open ? 0 : 3;
    p.drawRect(QRectF(9, 13 - gap, 14, 7));
    p.drawRect(QRectF(12, 8 - gap, 2, 5));
    p.drawRect(QRectF(18, 8 - gap, 2, 5));
    p.drawRect(QRectF(15, 20 + gap, 2, 5));
    return img;
}

} // namespace m7410
