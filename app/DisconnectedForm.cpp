#include "app/DisconnectedForm.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace m7410 {

DisconnectedForm::DisconnectedForm(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(QStringLiteral("Warnning"));
    setModal(false);
    auto* text = new QLabel(QStringLiteral("Connection has been disconnedted!!"), this);
    text->setAlignment(Qt::AlignCenter);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    // At least the design's size, more when a large desktop font needs it.
    setFixedSize(sizeHint().expandedTo(QSize(300, 110)));
    connect(ok, &QPushButton::clicked, this, &QDialog::close);
}

void DisconnectedForm::showCentred() {
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->geometry();
        move(area.center() - rect().center());
    }
    show();
    raise();
}

} // namespace m7410
