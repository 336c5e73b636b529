// The logo splash shown while the program starts.
#pragma once

#include <QImage>
#include <QWidget>

namespace m7410 {

// The logo shown for a second or two while the program starts: no border, centred.
class SplashScreen : public QWidget {
    Q_OBJECT
public:
    explicit SplashScreen(const QImage& logo);

    // Shows the logo at once, then waits until the tick counter's whole seconds have gone two
    // further (one to two seconds).
    void showAndWait();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage logo;
};

} // namespace m7410
