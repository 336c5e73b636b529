// A bare event loop with an empty window and only the timers the unit's pacing needs, as a
// floor for the window's idle CPU (scripts/idle-cpu): 10 ms scheduler tick, 500 ms poll and
// 1 s indicator while connected, the 1 s indicator and 3 s port refresh while not.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstring>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const bool connected = argc > 1 && std::strcmp(argv[1], "--connected") == 0;
    QWidget window;
    window.resize(750, 753);
    window.show();
    int ticks = 0;
    auto every = [&](int ms) {
        auto* t = new QTimer(&window);
        QObject::connect(t, &QTimer::timeout, &window, [&ticks] { ++ticks; });
        t->start(ms);
    };
    every(1000);
    if (connected) {
        every(10);
        every(500);
    } else {
        every(3000);
    }
    return QApplication::exec();
}
