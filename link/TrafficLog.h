// The traffic log: reports written and link errors, one bounded list of lines.
#pragma once

#include <QAbstractListModel>
#include <QString>

#include <deque>

namespace m7410 {

// The traffic log: every report written and every link error, one line each, newest last.
// Only the newest lines are kept, so a long session cannot grow it without bound.
class TrafficLog : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int MaxLines = 10000;

    explicit TrafficLog(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void AddToHistory(const QString& line);
    int count() const { return static_cast<int>(lines.size()); }
    const QString& line(int row) const { return lines.at(static_cast<std::size_t>(row)); }
    QString lastLine() const { return lines.empty() ? QString() : lines.back(); }

signals:
    // The view selects the newest line so that it shows.
    void lineAdded(int row);

private:
    std::deque<QString> lines;
};

} // namespace m7410
