#include "app/SplashScreen.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPainter>
#include <QScreen>
#include <QThread>

namespace m7410 {

SplashScreen::SplashScreen(const QImage& logo)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      logo(logo) {
    setFixedSize(logo.size());
    setAccessibleName(tr("Logo"));
}

void SplashScreen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, logo);
}

void SplashScreen::showAndWait() {
    if (QScreen* s = screen()) move(s->geometry().center() - rect().center());
    show();
    // The window system needs a moment to map and expose the window before it can show the
    // picture; after that nothing else is processed until the wait is over.
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    repaint();
    const qint64 startSecond = QDateTime::currentMSecsSinceEpoch() / 1000;
    while (QDateTime::currentMSecsSinceEpoch() / 1000 < startSecond + 2)
        QThread::msleep(20);
}

} // namespace m7410
