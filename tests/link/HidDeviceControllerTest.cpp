#include "LinkTestSupport.h"

#include "support/VirtualClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>

using namespace m7410;
using namespace m7410::test;
using ::testing::ElementsAre;

namespace {

// Every event the controller raises written down in order.
struct Rig : LinkRig<VirtualClock> {
    std::vector<std::string> events;
    std::vector<int> unitReports;

    Rig() : LinkRig(false) {}

    void start() {
        LinkRig::start();
        picker->onUnitData = [this](HidDevice*, uint8_t, const uint8_t* data, uint16_t) {
            unitReports.push_back(data[0]);
        };
        hidctl->OnArrival = [this](HidDevice* d) { events.push_back("arrival " + name(d)); };
        hidctl->OnRemoval = [this](HidDevice* d) { events.push_back("removal " + name(d)); };
        hidctl->setOnDeviceUnplug([this](HidDevice* d) { events.push_back("unplug " + name(d)); });
        auto rebuild = hidctl->OnDeviceChange;
        hidctl->OnDeviceChange = [this, rebuild](HidDeviceController* sender) {
            events.push_back("change");
            rebuild(sender);
        };
        clock.runDue();
    }

    static std::string name(HidDevice* d) { return HidUnitPicker::DeviceName(*d).toStdString(); }

    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        for (const auto& line : picker->DevListBox())
            out.push_back(line.text.toStdString());
        return out;
    }

    void report(const std::string& key, uint8_t first) {
        std::array<uint8_t, 64> data{};
        data[0] = first;
        backend.sendInput(key, data.data(), data.size());
    }
};

TEST(HidDeviceController, FirstScanListsEveryDeviceAndPicksOnlyTheExactUnitName) {
    Rig rig;
    VirtualHidDeviceInfo lowerCase = unitSpec();
    lowerCase.product = u"rividavidizir02";
    VirtualHidDeviceInfo otherSerial = unitSpec();
    otherSerial.serial = u"0000003";
    VirtualHidDeviceInfo languageAsSerial = otherSpec(0x046D, 0xC077);
    languageAsSerial.product = u"Mouse";
    languageAsSerial.serial = std::u16string(1, char16_t{0x0409});
    VirtualHidDeviceInfo unidentifiable = otherSpec(0x1111, 0x2222);
    unidentifiable.identifiable = false;
    VirtualHidDeviceInfo noAccess = otherSpec(0x04D8, 0x003F);
    noAccess.readWrite = false;
    for (const auto& info : {lowerCase, otherSerial, languageAsSerial, unidentifiable, noAccess}) {
        rig.backend.plug(info);
    }
    rig.start();

    EXPECT_THAT(rig.lines(),
                ElementsAre("rividavidizir02 (Serial=0000002)", "RIVIDAVIDIZIR02 (Serial=0000003)",
                            "Mouse", "Device VID=04D8 PID=003F"));
    EXPECT_EQ(rig.events.back(), "change"); // the first scan reports even without a change
    EXPECT_EQ(rig.picker->activeHidDevice(), nullptr);
    EXPECT_FALSE(rig.picker->hidUnitPresent());

    const std::string unit = rig.backend.plug(unitSpec());
    rig.clock.runDue();
    ASSERT_NE(rig.picker->activeHidDevice(), nullptr);
    EXPECT_TRUE(rig.picker->hidUnitPresent());
    EXPECT_EQ(rig.picker->DevListBox().at(4).device, rig.picker->activeHidDevice());
    EXPECT_EQ(rig.picker->activeHidDevice()->vendorId(), 0x0483);
    rig.report(unit, 7);
    EXPECT_THAT(rig.unitReports, ElementsAre(7));
}

TEST(HidDeviceController, UnrelatedArrivalKeepsTheUnitAndRemovalOfTheUnitClearsIt) {
    Rig rig;
    const std::string unit = rig.backend.plug(unitSpec());
    rig.start();
    ASSERT_TRUE(rig.picker->hidUnitPresent());
    rig.events.clear();

    rig.backend.plug(otherSpec(0x04D8, 0x003F));
    rig.clock.runDue();
    EXPECT_THAT(rig.events, ElementsAre("arrival Device VID=04D8 PID=003F", "change"));
    EXPECT_EQ(rig.lines().size(), 2u);
    ASSERT_TRUE(rig.picker->hidUnitPresent());
    // The rebuilt unit object still reads.
    rig.report(unit, 1);
    EXPECT_THAT(rig.unitReports, ElementsAre(1));

    rig.events.clear();
    rig.backend.unplug(unit);
    rig.clock.runDue();
    EXPECT_THAT(rig.events, ElementsAre("unplug RIVIDAVIDIZIR02 (Serial=0000002)",
                                        "removal RIVIDAVIDIZIR02 (Serial=0000002)", "change"));
    EXPECT_EQ(rig.picker->activeHidDevice(), nullptr);
    EXPECT_FALSE(rig.picker->hidUnitPresent());
    EXPECT_THAT(rig.lines(), ElementsAre("Device VID=04D8 PID=003F"));
    EXPECT_EQ(rig.hidctl->count(), 1);
    EXPECT_EQ(rig.backend.openReaders(unit), 0);
}

TEST(HidDeviceController, ANotificationDuringAScanWaitsForItInsteadOfNesting) {
    Rig rig;
    rig.start();
    std::vector<int> scansSeenInHandler;
    bool plugged = false;
    rig.hidctl->OnArrival = [&](HidDevice*) {
        scansSeenInHandler.push_back(rig.hidctl->scanCount());
        if (!plugged) {
            plugged = true;
            rig.backend.plug(otherSpec(0x2222, 0x0002));
            rig.hidctl->DeviceChange(); // as if the message came in a nested event loop
            scansSeenInHandler.push_back(rig.hidctl->scanCount());
        }
    };
    rig.backend.plug(otherSpec(0x1111, 0x0001));
    rig.clock.runDue();
    EXPECT_THAT(scansSeenInHandler, ElementsAre(2, 2, 3));
    EXPECT_FALSE(rig.hidctl->isScanning());
    EXPECT_EQ(rig.hidctl->count(), 2);
}

TEST(HidDeviceController, CheckOutReleaseAndWaitSlices) {
    Rig rig;
    rig.backend.plug(otherSpec(0x1111, 0x0001));
    rig.backend.plug(otherSpec(0x2222, 0x0002));
    // Without the picker, the controller keeps both devices to itself.
    HidDeviceController hidctl(rig.backend, rig.clock);
    rig.clock.runDue();
    ASSERT_EQ(hidctl.count(), 2);

    HidDevice* first = hidctl.device(0);
    int written = -1;
    const uint8_t report[65] = {};
    EXPECT_FALSE(first->WriteReport(report, sizeof report, written));
    EXPECT_EQ(first->lastError(), EACCES);

    EXPECT_FALSE(first->setWaitSlice(10001));
    EXPECT_TRUE(first->setWaitSlice(10000));
    hidctl.setDevThreadSleepTime(250); // reaches only devices still at the old value
    EXPECT_EQ(first->waitSlice(), 10000);
    EXPECT_EQ(hidctl.device(1)->waitSlice(), 250);

    EXPECT_EQ(hidctl.CheckOutDevice(-1), nullptr);
    EXPECT_EQ(hidctl.CheckOutDevice(2), nullptr);
    HidDevice* lent = hidctl.CheckOutDevice(0);
    ASSERT_EQ(lent, first);
    EXPECT_EQ(hidctl.CheckOutDevice(0), nullptr);
    EXPECT_TRUE(lent->WriteReport(report, sizeof report, written));
    EXPECT_EQ(written, 65);

    int delivered = 0;
    lent->SetDataHandler([&](HidDevice*, uint8_t, const uint8_t*, uint16_t) { ++delivered; });
    hidctl.ReleaseDevice(lent);
    HidDevice* fresh = hidctl.device(0);
    EXPECT_FALSE(fresh->isCheckedOut());
    EXPECT_EQ(fresh->waitSlice(), 10000);
    ASSERT_TRUE(fresh->dataHandler());
    EXPECT_FALSE(fresh->isReading()); // not until it is checked out again
    ASSERT_EQ(hidctl.CheckOutDevice(0), fresh);
    EXPECT_TRUE(fresh->isReading());
    const uint8_t data[64] = {};
    rig.backend.sendInput(fresh->pnpInfo().instanceKey, data, sizeof data);
    EXPECT_EQ(delivered, 1);
    hidctl.ReleaseDevice(fresh);
}

TEST(HidDevice, SerialEqualToTheLanguageListIsNoSerial) {
    const std::u16string english(1, char16_t{0x0409});
    EXPECT_FALSE(HidDevice::serialAccepted(english, english));
    EXPECT_TRUE(HidDevice::serialAccepted(u"0000002", english));
    EXPECT_TRUE(HidDevice::serialAccepted(u"0000002", std::nullopt));
}

} // namespace
