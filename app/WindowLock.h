// What an exchange locks in the window and the progress box shown over it.
#pragma once

#include <QPoint>

#include <utility>
#include <vector>

class QMenu;
class QWidget;

namespace m7410 {

class ProgressBox;

// The lock an exchange puts on the window: the progress box "Please wait, exchange data ."
// shown over it, and the areas the exchange disables and enables again.
class WindowLock {
public:
    // areas: a view-panel bit and the widget it stands for; menus follow the menu bit.
    WindowLock(ProgressBox& progress, std::vector<std::pair<unsigned, QWidget*>> areas,
               std::vector<QMenu*> menus);

    void showProgress(QPoint at, int percent);
    void setPercent(int percent);
    void hideProgress();
    // Enables or disables every area named in panels (view-panel bits).
    void setPanelsEnabled(unsigned panels, bool enabled);

private:
    ProgressBox& progress;
    std::vector<std::pair<unsigned, QWidget*>> areas;
    std::vector<QMenu*> menus;
};

} // namespace m7410
