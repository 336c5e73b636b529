// Keeps keyboard focus off the boxes that lie beyond the visible part of the window.
#pragma once

#include <QObject>

#include <utility>
#include <vector>

class QWidget;

namespace m7410 {

// Keeps Tab off the boxes that lie beyond the edge of the window's area (they show only when
// the window is maximised on a wide screen), so the focus never goes where nobody sees it.
class ReachableFocus : public QObject {
    Q_OBJECT
public:
    ReachableFocus(QWidget& area, std::vector<QWidget*> widgets, QObject* parent = nullptr);

    // Follows the area's size; runs on every resize of it.
    void update();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& area;
    std::vector<std::pair<QWidget*, Qt::FocusPolicy>> widgets;
};

} // namespace m7410
