// The preset box and file box on a whole engine with the simulated unit.
#pragma once

#include "HidRig.h"
#include "SerialRig.h"

#include "presets/DevicePresets.h"
#include "presets/PresetFiles.h"
#include "protocol/FileText.h"

#include <QTemporaryDir>

#include <fstream>

namespace m7410::test {

// The preset box and the file box on top of a whole engine with the simulated unit; every
// flow ends with the unit having seen no malformed frame.
struct SerialPresets : testing::Test, SerialRig {
    DevicePresets presets{s};
    PresetFiles files{s};
    QTemporaryDir dir;
    void TearDown() override { EXPECT_EQ(unit.malformedFrames(), 0); }
};

struct HidPresets : testing::Test, HidRig {
    DevicePresets presets{session()};
    PresetFiles files{session()};
    Session& s = session();
    QTemporaryDir dir;
    void TearDown() override { EXPECT_EQ(unit.malformedFrames(), 0); }
};

// A group record as the unit sends it: the whole block frame as upper-case hex.
inline std::string recordHex(uint8_t code, uint8_t slot, const BlockData& block) {
    return toHex(buildFrame(0, KindReply, slot, code, 0, block.data(), block.size()));
}

inline void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace m7410::test
