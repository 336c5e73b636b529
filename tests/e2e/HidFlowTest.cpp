#include "HidRig.h"

#include "protocol/Frame.h"

namespace m7410::test {
namespace {

struct HidFlow : testing::Test, HidRig {
    void TearDown() override { EXPECT_EQ(unit.malformedFrames(), 0); }
};

TEST_F(HidFlow, ConnectsSynchronisesAndFollowsEditsOverUsb) {
    unit.setCurrentPresetNumber(12);
    ASSERT_NE(app->picker.activeHidDevice(), nullptr);
    connect();
    Session& s = session();
    EXPECT_EQ(app->connection.caption(), "Connect");
    EXPECT_EQ(view.status, "  Connecting");
    EXPECT_EQ(app->serial.currentPortNumber, 100);
    EXPECT_TRUE(unitMatchesModel());
    EXPECT_EQ(view.loadList.at(0), "Pre1:" + unit.presetName(1));
    EXPECT_EQ(view.presetNumber, 12);
    EXPECT_EQ(unit.framesReceived(KindRequest, CodeCurrentBlock), 1);
    EXPECT_EQ(unit.framesReceived(KindRequest, CodeNames), 1);
    EXPECT_EQ(unit.framesReceived(KindRequest, CodeSystemRecord), 1);
    EXPECT_FALSE(logLines("W 00  A5 A5 A5 00 A2 00 2B 00 00 00 89 AA ").empty());

    for (int band = 0; band < 24; band += 5) {
        s.model().band(band).freq = 50 + band;
        s.builders().QueueEqBandMessage(band);
    }
    s.model().main.volume = 250;
    s.builders().QueueMainBasicMessage();
    s.model().outputs[2].limiter.threshold = 9;
    s.builders().QueueLimiterMessage(2);
    clock.advance(5000);
    EXPECT_TRUE(unitMatchesModel());
    EXPECT_FALSE(view.disconnectedShown);
}

TEST_F(HidFlow, PullingTheCableWhileOpenClosesTheLinkOnce) {
    connect();
    const std::size_t arrivals = logLines("Arrival of ").size();
    face.unplug();
    clock.runDue(); // the device-change notification
    clock.advance(100);
    EXPECT_EQ(logLines("Removal of ").size(), 1u);
    EXPECT_EQ(view.usbLabel, "已移除设备.");
    EXPECT_TRUE(view.disconnectedShown);
    EXPECT_EQ(app->connection.caption(), "Disconnect");
    EXPECT_EQ(view.status, "  Disconnect");
    EXPECT_EQ(app->picker.activeHidDevice(), nullptr);
    clock.advance(1000);
    EXPECT_FALSE(view.indicator);
    clock.advance(10000);
    EXPECT_EQ(view.disconnectedCount, 1);

    // Back in: the unit is picked again and a new link synchronises.
    plugUnit();
    clock.advance(10);
    EXPECT_EQ(logLines("Arrival of ").size(), arrivals + 1);
    EXPECT_EQ(view.usbLabel, "已接上设备.");
    clock.advance(2000);
    connect();
    EXPECT_EQ(app->connection.caption(), "Connect");
    EXPECT_FALSE(view.disconnectedShown);
    EXPECT_TRUE(unitMatchesModel());
}

TEST_F(HidFlow, UnpluggedHalfwayThroughReadingThePresetsEndsTheTransferCleanly) {
    connect();
    Session& s = session();
    s.scheduler().stopAll();
    view.showProgress(0);
    view.setPanelsEnabled(UnlockedPanels, false);
    s.exchanges().startPresetRead();
    clock.advance(3000);
    face.unplugAfterInputReports(3); // in the middle of a block reply
    clock.advance(20000);
    EXPECT_EQ(app->connection.caption(), "Disconnect");
    EXPECT_EQ(view.disconnectedCount, 1);
    EXPECT_FALSE(view.progressShown);
    EXPECT_EQ(view.disabled, 0u);
    EXPECT_TRUE(view.saveDialogs.empty());
    EXPECT_EQ(s.savingAllToFile(), 0);
    EXPECT_FALSE(s.presetReadStep().isActive() || s.presetReadTimeout().isActive() ||
                 s.statusPoll().isActive());
}

TEST(HidFlowWithPorts, TheUnitsUsbIdentityAloneDrivesArrivalAndRemoval) {
    // A listed serial port that cannot be opened: the link still opens over USB and the status
    // names the port.
    HidRig rig({{"ttyS3", "/nonexistent/ttyS3", 0}});
    rig.connect();
    EXPECT_EQ(rig.view.status, "  ConnectingttyS3");
    EXPECT_EQ(rig.app->connection.caption(), "Connect");
    EXPECT_TRUE(rig.unitMatchesModel());

    // A second device with the unit's ids but another serial: never picked, yet its arrival
    // and removal count as the unit's, and its removal ends the open link.
    VirtualHidDeviceInfo twin = simUnitSpec();
    twin.serial = u"0000009";
    rig.view.usbLabel.clear();
    const std::string twinKey = rig.backend.plug(twin);
    rig.clock.runDue();
    EXPECT_EQ(rig.view.usbLabel, "已接上设备.");
    EXPECT_EQ(rig.app->picker.DevListBox().size(), 2u);
    ASSERT_NE(rig.app->picker.activeHidDevice(), nullptr);
    EXPECT_EQ(HidUnitPicker::DeviceName(*rig.app->picker.activeHidDevice()),
              HidUnitPicker::UnitName);
    EXPECT_EQ(rig.app->connection.caption(), "Connect");
    rig.clock.advance(5000);
    EXPECT_FALSE(rig.view.disconnectedShown);
    EXPECT_TRUE(rig.unitMatchesModel());

    rig.backend.unplug(twinKey);
    rig.clock.runDue();
    rig.clock.advance(100);
    EXPECT_EQ(rig.logLines("Removal of "),
              std::vector<std::string>{"Removal of RIVIDAVIDIZIR02 (Serial=0000009)"});
    EXPECT_EQ(rig.view.usbLabel, "已移除设备.");
    EXPECT_TRUE(rig.view.disconnectedShown);
    EXPECT_EQ(rig.app->connection.caption(), "Disconnect");
    EXPECT_NE(rig.app->picker.activeHidDevice(), nullptr);
    EXPECT_EQ(rig.unit.malformedFrames(), 0);
}

} // namespace
} // namespace m7410::test
