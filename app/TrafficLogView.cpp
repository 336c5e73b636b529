#include "app/TrafficLogView.h"

#include "link/TrafficLog.h"

namespace m7410 {

TrafficLogView::TrafficLogView(TrafficLog& log, QWidget* parent) : QListView(parent) {
    setAccessibleName(tr("Traffic log"));
    setModel(&log);
    setUniformItemSizes(true);
    connect(&log, &TrafficLog::lineAdded, this, [this, &log](int row) {
        const QModelIndex index = log.index(row);
        setCurrentIndex(index);
        scrollTo(index);
    });
}

} // namespace m7410
