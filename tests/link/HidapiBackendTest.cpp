#include "LinkTestSupport.h"

#include "link/HidDeviceController.h"
#include "link/HidUnitPicker.h"
#include "link/HidapiBackend.h"
#include "link/ReportDescriptor.h"
#include "support/VirtualClock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

using namespace m7410;
using namespace m7410::test;

namespace {

TEST(ReportDescriptor, LengthsCountTheReportIdByte) {
    // A vendor page with one 64-byte input and one 64-byte output report, no report ids.
    const std::vector<uint8_t> plain = {
        0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,  // usage page, usage, collection
        0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,  // logical 0..255, size 8
        0x95, 0x40, 0x09, 0x01, 0x81, 0x02,        // count 64, input
        0x95, 0x40, 0x09, 0x01, 0x91, 0x02, 0xC0}; // count 64, output, end
    const auto unit = ReportDescriptor::parse(plain.data(), plain.size());
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->lengths.input, 65);
    EXPECT_EQ(unit->lengths.output, 65);
    EXPECT_FALSE(unit->numbered);

    // Numbered reports: the longest one counts; push and pop keep the globals apart.
    const std::vector<uint8_t> numbered = {
        0x85, 0x01, 0x75, 0x08, 0x95, 0x03, 0x81, 0x02, // id 1: 3 input bytes
        0xA4, 0x85, 0x02, 0x95, 0x10, 0x81, 0x02, 0xB4, // id 2: 16 input bytes, popped
        0x75, 0x01, 0x95, 0x05, 0x91, 0x02};            // id 1: 5 output bits
    const auto numberedLengths = ReportDescriptor::parse(numbered.data(), numbered.size());
    ASSERT_TRUE(numberedLengths);
    EXPECT_EQ(numberedLengths->lengths.input, 17);
    EXPECT_EQ(numberedLengths->lengths.output, 2);
    EXPECT_TRUE(numberedLengths->numbered);

    const std::vector<uint8_t> cutOff = {0x06, 0x00};
    EXPECT_FALSE(ReportDescriptor::parse(cutOff.data(), cutOff.size()));
    const std::vector<uint8_t> popWithoutPush = {0xB4};
    EXPECT_FALSE(ReportDescriptor::parse(popWithoutPush.data(), popWithoutPush.size()));
    // Huge sizes cannot overflow the lengths.
    const std::vector<uint8_t> huge = {0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF,
                                       0xFF, 0xFF, 0xFF, 0x81, 0x02, 0x81, 0x02};
    const auto hugeLengths = ReportDescriptor::parse(huge.data(), huge.size());
    ASSERT_TRUE(hugeLengths);
    EXPECT_GT(hugeLengths->lengths.input, 0);
}

TEST(HidapiBackend, EnumeratesThisMachinesHidDevices) {
    app();
    bool anyHidraw = false;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev", ec)) {
        anyHidraw |= entry.path().filename().string().rfind("hidraw", 0) == 0;
    }
    HidapiBackend backend;
    if (!backend.available()) GTEST_SKIP() << "hidapi cannot start here";
    const auto present = backend.enumerate();
    if (!anyHidraw) {
        EXPECT_TRUE(present.empty());
        GTEST_SKIP() << "no hidraw device on this machine";
    }

    VirtualClock clock;
    HidDeviceController hidctl(backend, clock);
    HidUnitPicker picker(hidctl);
    clock.runDue();
    EXPECT_EQ(hidctl.count(), static_cast<int>(present.size()));
    EXPECT_EQ(picker.DevListBox().size(), static_cast<std::size_t>(hidctl.count()));
    for (const auto& line : picker.DevListBox())
        EXPECT_FALSE(line.text.isEmpty());
}

} // namespace
