#include "panels/SpinButtons.h"

#include <QToolButton>

namespace m7410 {

SpinButtons::SpinButtons(const QString& accessibleName, QWidget* parent)
    : QWidget(parent), up(new QToolButton(this)), down(new QToolButton(this)) {
    setAccessibleName(accessibleName);
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    up->setAccessibleName(accessibleName + " up");
    down->setAccessibleName(accessibleName + " down");
    for (QToolButton* b : {up, down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(up, &QToolButton::clicked, this, &SpinButtons::upClicked);
    connect(down, &QToolButton::clicked, this, &SpinButtons::downClicked);
    resize(17, 21);
}

void SpinButtons::resizeEvent(QResizeEvent*) {
    const int half = height() / 2;
    up->setGeometry(0, 0, width(), half);
    down->setGeometry(0, half, width(), height() - half);
}

} // namespace m7410
