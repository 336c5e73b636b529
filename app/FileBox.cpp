#include "app/FileBox.h"

#include <QPushButton>

namespace m7410 {

FileBox::FileBox(QWidget* parent) : QGroupBox(parent) {
    setAccessibleName(tr("PC files"));
    resize(Width, Height);
    const char* const captions[4] = {"save one group to PC", "load one group to DV",
                                     "save 20-group to PC", "load 20-group to DV"};
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    for (int i = 0; i < 4; ++i) {
        buttons[i] = new QPushButton(QString::fromLatin1(captions[i]), this);
        buttons[i]->setGeometry(4, 6 + 32 * i, Width - 8, 28);
        buttons[i]->setFont(small);
    }
}

} // namespace m7410
