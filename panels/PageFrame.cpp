#include "panels/PageFrame.h"

#include <QLabel>
#include <QToolButton>

namespace m7410 {

PageFrame::PageFrame(const QString& accessibleName, QWidget* parent)
    : QFrame(parent), titleLabel(new QLabel(this)), closer(new QToolButton(this)) {
    setAccessibleName(accessibleName);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    titleLabel->move(8, 4);
    QFont bold = titleLabel->font();
    bold.setBold(true);
    titleLabel->setFont(bold);
    closer->setText(QStringLiteral("x"));
    closer->setAccessibleName(accessibleName + " close");
    closer->setToolTip(tr("Close"));
    closer->setAutoRaise(true);
    closer->setFocusPolicy(Qt::NoFocus);
    closer->resize(16, 16);
    connect(closer, &QToolButton::clicked, this, &PageFrame::closeClicked);
    hide();
}

void PageFrame::setTitle(const QString& title) {
    titleLabel->setText(title);
    titleLabel->adjustSize();
}

QString PageFrame::title() const {
    return titleLabel->text();
}

void PageFrame::resizeEvent(QResizeEvent*) {
    closer->move(width() - closer->width() - 3, 3);
}

} // namespace m7410
