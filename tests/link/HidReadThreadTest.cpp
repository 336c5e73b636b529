#include "LinkTestSupport.h"

#include "support/VirtualClock.h"

#include <QThread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

using namespace m7410;
using namespace m7410::test;

namespace {

// The real read thread on a virtual device: every report and error must reach the window's
// thread, in order, one at a time.
struct ThreadRig : LinkRig<VirtualClock> {
    std::string unit;
    std::vector<int> values;
    std::vector<int> errors;
    bool allOnOwnerThread = true;

    ThreadRig() : LinkRig(true) {
        unit = backend.plug(unitSpec());
        start();
        picker->onUnitData = [this](HidDevice*, uint8_t id, const uint8_t* data, uint16_t size) {
            allOnOwnerThread &= QThread::currentThread() == app().thread();
            EXPECT_EQ(id, 0);
            EXPECT_EQ(size, 64);
            values.push_back(data[0] + 256 * data[1]);
        };
        hidctl->setOnDeviceDataError([this](HidDevice*, int error) {
            allOnOwnerThread &= QThread::currentThread() == app().thread();
            errors.push_back(error);
        });
        clock.runDue();
    }

    void send(int value) {
        std::array<uint8_t, 64> data{};
        data[0] = static_cast<uint8_t>(value & 0xFF);
        data[1] = static_cast<uint8_t>(value >> 8);
        backend.sendInput(unit, data.data(), data.size());
    }
};

TEST(HidDeviceReadThread, DeliversEveryReportInOrderOnTheOwnersThread) {
    ThreadRig rig;
    ASSERT_TRUE(rig.picker->hidUnitPresent());
    ASSERT_TRUE(rig.backend.waitForReader(rig.unit));
    for (int i = 0; i < 300; ++i)
        rig.send(i);
    ASSERT_TRUE(rig.backend.settle());
    ASSERT_EQ(rig.values.size(), 300u);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(rig.values[static_cast<std::size_t>(i)], i);
    EXPECT_TRUE(rig.allOnOwnerThread);
}

TEST(HidDeviceReadThread, ReportsReadErrorsReadsOnAndStopsWhenTheScanReleasesIt) {
    ThreadRig rig;
    ASSERT_TRUE(rig.backend.waitForReader(rig.unit));
    rig.backend.failReads(rig.unit, EIO);
    ASSERT_TRUE(processUntil([&] { return !rig.errors.empty(); }));
    // The thread opens a fresh handle after the failure.
    ASSERT_TRUE(rig.backend.waitForReader(rig.unit));
    rig.send(42);
    ASSERT_TRUE(rig.backend.settle());
    EXPECT_EQ(rig.errors, std::vector<int>{EIO});
    EXPECT_EQ(rig.values, std::vector<int>{42});

    // Unplugged: the thread finds out before the scan does, then the scan releases it.
    rig.backend.unplug(rig.unit);
    ASSERT_TRUE(processUntil([&] { return rig.errors.size() > 1; }));
    EXPECT_EQ(rig.errors[1], ENODEV);
    rig.clock.runDue();
    EXPECT_FALSE(rig.picker->hidUnitPresent());
    EXPECT_EQ(rig.backend.openReaders(rig.unit), 0);
    EXPECT_TRUE(rig.allOnOwnerThread);
    EXPECT_EQ(HidReportIo::errorLine("READ ERROR", ENODEV), "READ ERROR: No such device (13)");
}

TEST(HidDeviceReadThread, ARebuildFromInsideTheDataHandlerDoesNotDeadlock) {
    ThreadRig rig;
    ASSERT_TRUE(rig.backend.waitForReader(rig.unit));
    // A handler that pumps events may run a scan that releases the very device whose thread
    // is waiting for that handler.
    rig.picker->onUnitData = [&](HidDevice*, uint8_t, const uint8_t* data, uint16_t) {
        rig.values.push_back(data[0]);
        if (rig.values.size() == 1) rig.picker->hidctlDeviceChange(rig.hidctl.get());
    };
    rig.picker->hidctlDeviceChange(rig.hidctl.get()); // the fresh object gets the new handler
    ASSERT_TRUE(rig.backend.waitForReader(rig.unit));
    rig.send(1);
    ASSERT_TRUE(rig.backend.settle());
    ASSERT_TRUE(rig.picker->hidUnitPresent());
    ASSERT_TRUE(rig.backend.waitForReader(rig.unit));
    rig.send(2);
    ASSERT_TRUE(rig.backend.settle());
    EXPECT_EQ(rig.values, (std::vector<int>{1, 2}));
    // The detached thread of the released object ends and deletes itself.
    ASSERT_TRUE(rig.backend.settle());
    EXPECT_EQ(rig.backend.openReaders(rig.unit), 1);
}

} // namespace
