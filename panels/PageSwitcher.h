// Opening, filling, placing and closing the channel pages, one at a time.
#pragma once

#include "panels/EditState.h"

#include <QObject>

#include <functional>

namespace m7410 {

class ChannelGroup;
class DelayPage;
class EqPage;
class GainPage;
class LimiterPage;
class PageFrame;

// Opens, refills, places and closes the channel pages. At most one page is open; its button
// shows it in the open-page colour.
class PageSwitcher : public QObject {
    Q_OBJECT
public:
    PageSwitcher(EditState& edit, ChannelGroup& rows, EqPage& eq, LimiterPage& limiter,
                 DelayPage& delay, GainPage& gain, QObject* parent = nullptr);

    void openPage(int page, int channel);
    // The one way to close the open page; whoever takes over the window calls it first.
    void closeCurrentPage();

    // Hides the password and personal-settings boxes, which every page change also hides.
    std::function<void()> hideOverlays;
    // Paints the channel's picture on the EQ page as it opens (background, curve, markers).
    std::function<void(int channel)> drawEqPage;

private:
    PageFrame* popUpOf(int page) const;

    EditState& edit;
    ChannelGroup& rows;
    EqPage& eq;
    LimiterPage& limiter;
    DelayPage& delay;
    GainPage& gain;
};

} // namespace m7410
