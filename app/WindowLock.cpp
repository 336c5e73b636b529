#include "app/WindowLock.h"

#include "app/ProgressBox.h"
#include "protocol/SessionView.h"

#include <QMenu>

namespace m7410 {

WindowLock::WindowLock(ProgressBox& progress, std::vector<std::pair<unsigned, QWidget*>> areas,
                       std::vector<QMenu*> menus)
    : progress(progress), areas(std::move(areas)), menus(std::move(menus)) {}

void WindowLock::showProgress(QPoint at, int percent) {
    progress.move(at);
    progress.setPercent(percent);
    progress.show();
    progress.raise();
}

void WindowLock::setPercent(int percent) {
    progress.setPercent(percent);
}

void WindowLock::hideProgress() {
    progress.hide();
}

void WindowLock::setPanelsEnabled(unsigned panels, bool enabled) {
    for (auto [bit, widget] : areas) {
        if ((panels & bit) != 0) widget->setEnabled(enabled);
    }
    if ((panels & MenuPanel) != 0) {
        for (QMenu* m : menus)
            m->setEnabled(enabled);
    }
}

} // namespace m7410
