// A unit plugged in that this user may not open: the button says why, the log names the node.
#include "e2e/HidRig.h"

namespace m7410::test {
namespace {

TEST(UsbPermission, ADeniedUnitNamesItsNodeInsteadOfNoPort) {
    HidRig rig;
    rig.backend.unplug(rig.unitKey);
    VirtualHidDeviceInfo denied = simUnitSpec();
    denied.readWrite = false;
    rig.unitKey = rig.backend.plug(denied);
    rig.clock.runDue();
    const std::string node = rig.backend.enumerate().front().path;

    rig.connect();
    EXPECT_EQ(rig.view.messages,
              std::vector<std::string>{"The unit is plugged in but this user may not open " + node +
                                       ". Install the udev rule (see README, 'USB access') and "
                                       "plug the unit in again."});
    EXPECT_EQ(rig.logLines(node), std::vector<std::string>{node + ": permission denied"});
    EXPECT_EQ(rig.app->connection.caption(), "Disconnect");
    EXPECT_EQ(rig.unit.malformedFrames(), 0);

    // With the rule installed and the unit plugged in again, the same button connects.
    rig.backend.unplug(rig.unitKey);
    rig.plugUnit();
    rig.clock.runDue();
    rig.connect();
    EXPECT_EQ(rig.view.messages.size(), 1u);
    EXPECT_TRUE(rig.unitMatchesModel());
}

} // namespace
} // namespace m7410::test
