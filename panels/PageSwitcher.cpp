#include "panels/PageSwitcher.h"

#include "panels/ChannelGroup.h"
#include "panels/ColourButton.h"
#include "panels/DelayPage.h"
#include "panels/EqPage.h"
#include "panels/GainPage.h"
#include "panels/LimiterPage.h"
#include "panels/PanelColours.h"

#include <QApplication>

namespace m7410 {

PageSwitcher::PageSwitcher(EditState& edit, ChannelGroup& rows, EqPage& eq, LimiterPage& limiter,
                           DelayPage& delay, GainPage& gain, QObject* parent)
    : QObject(parent), edit(edit), rows(rows), eq(eq), limiter(limiter), delay(delay), gain(gain) {
    connect(&rows, &ChannelGroup::pageRequested, this, &PageSwitcher::openPage);
    for (PageFrame* f : {static_cast<PageFrame*>(&eq), static_cast<PageFrame*>(&limiter),
                         static_cast<PageFrame*>(&delay), static_cast<PageFrame*>(&gain)}) {
        connect(f, &PageFrame::closeClicked, this, &PageSwitcher::closeCurrentPage);
    }
}

PageFrame* PageSwitcher::popUpOf(int page) const {
    switch (page) {
    case PageLimiter:
        return &limiter;
    case PageDelay:
        return &delay;
    case PageGain:
        return &gain;
    default:
        return nullptr;
    }
}

void PageSwitcher::openPage(int page, int channel) {
    ColourButton* button = rows.pageButton(page, channel);
    if (button == nullptr) return;
    if (page == PageEq) edit.keepEqPanel = true;
    // Pressing the button of the open page refills it rather than closing it.
    if (edit.currentPage != page || edit.currentChannel != channel) closeCurrentPage();
    edit.keepEqPanel = false;
    edit.currentPage = page;
    edit.currentChannel = channel;
    button->setColour(OpenPageColour);

    switch (page) {
    case PageEq:
        eq.fill(channel);
        if (drawEqPage) drawEqPage(channel);
        eq.show();
        eq.raise();
        eq.setFocus(Qt::OtherFocusReason);
        return;
    case PageLimiter:
        limiter.fill(channel);
        break;
    case PageDelay:
        delay.fill(channel);
        break;
    case PageGain:
        gain.fill(channel);
        break;
    default:
        return;
    }
    // The pop-up's corner touches the pressed button's lower right corner.
    PageFrame* panel = popUpOf(page);
    panel->move(rows.x() + button->x() + button->width(),
                rows.y() + button->y() + button->height());
    panel->show();
    panel->raise();
    // Keyboard users go on in the page they opened.
    panel->setFocus(Qt::OtherFocusReason);
}

void PageSwitcher::closeCurrentPage() {
    if (hideOverlays) hideOverlays();
    ColourButton* button = rows.pageButton(edit.currentPage, edit.currentChannel);
    PageFrame* open = edit.currentPage == PageEq ? &eq : popUpOf(edit.currentPage);
    // The focus goes back to the page's button, while the page still edits its channel, so
    // a field left this way commits as on any other leaving.
    QWidget* focused = QApplication::focusWidget();
    if (open != nullptr && button != nullptr && focused != nullptr && open->isAncestorOf(focused))
        button->setFocus(Qt::OtherFocusReason);
    if (edit.currentPage == PageEq) {
        if (!edit.keepEqPanel) eq.hide();
    } else if (PageFrame* panel = popUpOf(edit.currentPage)) {
        panel->hide();
    }
    if (button != nullptr) button->setColour(IdleColour);
    // A hidden picture gets no release: a drag on it ends here, or later moves would carry on.
    edit.dragging = false;
    edit.keepEqPanel = false;
    edit.currentChannel = NoChannel;
    edit.currentPage = NoPage;
}

} // namespace m7410
