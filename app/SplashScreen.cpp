#include "app/SplashScreen.h"

#include <QCoreApplication>
#include <QPainter>
#include <QScreen>
#include <QThread>

#include <chrono>

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
    // The monotonic tick: a wall clock set back meanwhile would hold the splash for as long.
    using std::chrono::steady_clock;
    const auto second = [] {
        return std::chrono::duration_cast<std::chrono::seconds>(
                   steady_clock::now().time_since_epoch())
            .count();
    };
    const auto startSecond = second();
    while (second() < startSecond + 2)
        QThread::msleep(20);
}

} // namespace m7410
