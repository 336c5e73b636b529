#pragma once

#include <QListView>

namespace m7410 {

class TrafficLog;

// The traffic log as a list that keeps its newest line selected and in sight.
class TrafficLogView : public QListView {
    Q_OBJECT
public:
    TrafficLogView(TrafficLog& log, QWidget* parent = nullptr);
};

} // namespace m7410
