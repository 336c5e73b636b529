#include "app/ProgressBox.h"

#include <QLabel>
#include <QProgressBar>

#include <algorithm>

namespace m7410 {

ProgressBox::ProgressBox(QWidget* parent) : QFrame(parent), bar(new QProgressBar(this)) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    auto* text = new QLabel(QStringLiteral("Please wait, exchange data ."), this);
    text->move(12, 10);
    bar->setGeometry(12, 34, 306, 20);
    bar->setRange(0, 100);
    bar->setAccessibleName(tr("Exchange progress"));
    resize(330, 64);
    hide();
}

void ProgressBox::setPercent(int percent) {
    bar->setValue(std::clamp(percent, 0, 100));
}

int ProgressBox::percent() const {
    return bar->value();
}

} // namespace m7410
