// The traffic log list of the window, which keeps its newest line in sight cheaply.
#pragma once

#include <QListView>

namespace m7410 {

class TrafficLog;

// The traffic log as a list that keeps its newest line selected and in sight. While the list
// lies beyond the window's edge it leaves the selection alone, so new lines cost no layout,
// repaint or screen-reader event; it catches up when the window grows to show it.
class TrafficLogView : public QListView {
    Q_OBJECT
public:
    TrafficLogView(TrafficLog& log, QWidget* parent = nullptr);

    // The area whose resizing can bring the list into sight.
    void followResizesOf(QWidget& area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showNewest();

    TrafficLog& log;
    bool behind = false;
};

} // namespace m7410
