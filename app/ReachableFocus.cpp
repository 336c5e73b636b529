#include "app/ReachableFocus.h"

#include <QEvent>
#include <QWidget>

namespace m7410 {

ReachableFocus::ReachableFocus(QWidget& area, std::vector<QWidget*> list, QObject* parent)
    : QObject(parent), area(area) {
    for (QWidget* w : list)
        widgets.emplace_back(w, w->focusPolicy());
    area.installEventFilter(this);
    update();
}

void ReachableFocus::update() {
    for (auto [w, policy] : widgets) {
        const bool inSight = area.rect().contains(QRect(w->mapTo(&area, QPoint(0, 0)), w->size()));
        if (!inSight && w->hasFocus()) w->clearFocus();
        w->setFocusPolicy(inSight ? policy : Qt::NoFocus);
    }
}

bool ReachableFocus::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &area && event->type() == QEvent::Resize) update();
    return QObject::eventFilter(watched, event);
}

} // namespace m7410
