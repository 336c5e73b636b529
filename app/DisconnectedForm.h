// The "disconnected" notice the window shows without blocking when the link drops.
#pragma once

#include <QDialog>

namespace m7410 {

// "Connection has been disconnedted!!": shown without blocking the main window, centred on
// it, closed by "OK" or when the link is opened again.
class DisconnectedForm : public QDialog {
    Q_OBJECT
public:
    explicit DisconnectedForm(QWidget* mainWindow);

    // Centres the window on the main window and shows it; showing it again keeps one window.
    void showCentred();
};

} // namespace m7410
