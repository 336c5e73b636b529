// The "Please wait" box with a percentage, shown while an exchange locks the window.
#pragma once

#include <QFrame>

class QProgressBar;

namespace m7410 {

// "Please wait, exchange data ." with a percentage, shown while an exchange locks the window.
class ProgressBox : public QFrame {
    Q_OBJECT
public:
    explicit ProgressBox(QWidget* parent = nullptr);

    void setPercent(int percent);
    int percent() const;

private:
    QProgressBar* bar;
};

} // namespace m7410
