#include "link/TrafficLog.h"

namespace m7410 {

TrafficLog::TrafficLog(QObject* parent) : QAbstractListModel(parent) {}

int TrafficLog::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant TrafficLog::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count() || role != Qt::DisplayRole) return {};
    return line(index.row());
}

void TrafficLog::AddToHistory(const QString& text) {
    if (count() >= MaxLines) {
        beginRemoveRows({}, 0, 0);
        lines.pop_front();
        endRemoveRows();
    }
    beginInsertRows({}, count(), count());
    lines.push_back(text);
    endInsertRows();
    emit lineAdded(count() - 1);
}

} // namespace m7410
