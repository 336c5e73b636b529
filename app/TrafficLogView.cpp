#include "app/TrafficLogView.h"

#include "link/TrafficLog.h"

#include <QEvent>

namespace m7410 {

TrafficLogView::TrafficLogView(TrafficLog& log, QWidget* parent) : QListView(parent), log(log) {
    setAccessibleName(tr("Traffic log"));
    setModel(&log);
    setUniformItemSizes(true);
    connect(&log, &TrafficLog::lineAdded, this, [this] {
        behind = true;
        if (isVisible() && !visibleRegion().isEmpty()) showNewest();
    });
}

void TrafficLogView::followResizesOf(QWidget& area) {
    area.installEventFilter(this);
}

bool TrafficLogView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && behind) {
        // The area's new size is laid out once this event is through.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (behind && !visibleRegion().isEmpty()) showNewest();
            },
            Qt::QueuedConnection);
    }
    return QListView::eventFilter(watched, event);
}

void TrafficLogView::showNewest() {
    behind = false;
    if (log.count() == 0) return;
    const QModelIndex index = log.index(log.count() - 1);
    setCurrentIndex(index);
    scrollTo(index);
}

} // namespace m7410
