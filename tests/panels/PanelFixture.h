// The channel rows and pages on one window-sized area, with the queued messages recorded.
#pragma once

#include "model/ChannelModel.h"
#include "panels/ChannelGroup.h"
#include "panels/DelayPage.h"
#include "panels/EditState.h"
#include "panels/EqPage.h"
#include "panels/GainPage.h"
#include "panels/LimiterPage.h"
#include "panels/PageSwitcher.h"
#include "protocol/MessageBuilders.h"
#include "protocol/ParameterGroup.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace m7410::test {

inline QApplication& qtApp() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_panels";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down among the other statics at exit is not worth the risk.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Keeps every queued message with the frame as it was at the moment it was raised.
struct RecordedMessage {
    int slot;
    ParameterFrame frame;
    uint8_t data(int i) const { return frame[10 + i]; }
};

class RecordingPending : public PendingRaiser {
public:
    explicit RecordingPending(const PreparedFrames& frames) : frames(frames) {}
    void RaisePending(int message) override { raised.push_back({message, frames.frame(message)}); }
    std::vector<RecordedMessage> raised;

private:
    const PreparedFrames& frames;
};

inline int slotOf(const ParameterGroup& g) {
    return addressOf(g).pendingMessage;
}

// Made before any widget member of a fixture.
struct QtAppFirst {
    QtAppFirst() { qtApp(); }
};

// The channel rows and their four pages on one window-sized area, as the main window has them.
class PanelFixture : public ::testing::Test, private QtAppFirst {
protected:
    PanelFixture() {
        rows = new ChannelGroup(ctx, &area);
        rows->move(7, 98);
        eq = new EqPage(ctx, &area);
        eq->move(7, 232);
        limiter = new LimiterPage(ctx, &area);
        delay = new DelayPage(ctx, &area);
        gain = new GainPage(ctx, &area);
        pages = std::make_unique<PageSwitcher>(edit, *rows, *eq, *limiter, *delay, *gain);
        area.resize(750, 700);
        area.show();
        // Fields only get focus events in the active window.
        area.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&area));
    }

    ChannelModel model;
    PreparedFrames frames;
    RecordingPending pending{frames};
    int32_t linkOpen = 1;
    uint8_t device = 0;
    MessageBuilders builders{model, frames, pending, linkOpen, device};
    EditState edit;
    PanelContext ctx{model, builders, edit};
    QWidget area;
    ChannelGroup* rows;
    EqPage* eq;
    LimiterPage* limiter;
    DelayPage* delay;
    GainPage* gain;
    std::unique_ptr<PageSwitcher> pages;
};

} // namespace m7410::test
