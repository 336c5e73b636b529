// Every fault of the simulated unit, injected at every step of every exchange on the serial
// line: the window must come back, no damaged file may be left, and after a reconnect the
// window and the unit must agree.
#include "PresetRigs.h"

#include <QFile>

namespace m7410::test {
namespace {

struct Fault {
    const char* name;
    void (*apply)(SerialRig&, uint8_t replyCode);
};

const Fault Faults[] = {
    {"Silence", [](SerialRig& r, uint8_t) { r.unit.faults().silent = true; }},
    {"LateReply", [](SerialRig& r, uint8_t) { r.unit.faults().latencyMs = 2500; }},
    {"DroppedReply", [](SerialRig& r, uint8_t code) { r.unit.faults().drop[code] = 1; }},
    {"Garbage", [](SerialRig& r, uint8_t) { r.face.setGarbageBytes(40); }},
    {"SplitAndMerged",
     [](SerialRig& r, uint8_t) {
         r.face.setSplitBatches(5, 11);
         r.face.setMergeWindowMs(40);
     }},
    {"Unplug", [](SerialRig& r, uint8_t) { r.face.setCutAfterBytes(30); }},
};

struct FaultRig;

// The step is the Nth frame of this kind and code the unit receives after the action starts.
struct Step {
    const char* name;
    uint8_t kind;
    uint8_t code;
    int nth;
    bool startUp;
    void (*action)(FaultRig&);
};

struct FaultRig : SerialRig {
    DevicePresets presets{s};
    PresetFiles files{s};
    QTemporaryDir dir;
    std::string goodOne = dir.filePath("good1").toStdString();
    std::string goodTwenty = dir.filePath("good20").toStdString();
    std::string written = dir.filePath("written").toStdString();

    // Files a fault-free session writes, as references and as sources for the loads.
    void prepareFiles() {
        view.savePath = goodOne;
        files.saveOneGroupToPc();
        clock.advance(3000);
        view.savePath = goodTwenty;
        files.saveTwentyGroupsToPc();
        clock.advance(20000);
        view.savePath = written;
    }
};

const Step Steps[] = {
    {"StartUpBlock", KindRequest, CodeCurrentBlock, 1, true,
     [](FaultRig& r) { r.connection.Button3Click(); }},
    {"StartUpNames", KindRequest, CodeNames, 1, true,
     [](FaultRig& r) { r.connection.Button3Click(); }},
    {"StartUpSystemRecord", KindRequest, CodeSystemRecord, 1, true,
     [](FaultRig& r) { r.connection.Button3Click(); }},
    {"Recall", KindRequest, CodeCurrentBlock, 1, false,
     [](FaultRig& r) { r.presets.loadClicked(6); }},
    {"Store", KindWrite, CodePresetName, 1, false,
     [](FaultRig& r) { r.presets.saveClicked(2, "Fault"); }},
    {"SaveOneGroup", KindRequest, CodeCurrentBlock, 1, false,
     [](FaultRig& r) { r.files.saveOneGroupToPc(); }},
    {"ReadTwentyAt1", KindRequest, CodePresetBlock, 1, false,
     [](FaultRig& r) { r.files.saveTwentyGroupsToPc(); }},
    {"ReadTwentyAt10", KindRequest, CodePresetBlock, 10, false,
     [](FaultRig& r) { r.files.saveTwentyGroupsToPc(); }},
    {"ReadTwentyAt20", KindRequest, CodePresetBlock, 20, false,
     [](FaultRig& r) { r.files.saveTwentyGroupsToPc(); }},
    {"LoadOneGroup", KindWrite, CodeCurrentBlock, 1, false,
     [](FaultRig& r) {
         r.view.openPath = r.goodOne;
         r.files.loadOneGroupToDevice();
     }},
    {"WriteTwentyAt1", KindWrite, CodePresetBlock, 1, false,
     [](FaultRig& r) {
         r.view.openPath = r.goodTwenty;
         r.files.loadTwentyGroupsToDevice();
     }},
    {"WriteTwentyAt10", KindWrite, CodePresetBlock, 10, false,
     [](FaultRig& r) {
         r.view.openPath = r.goodTwenty;
         r.files.loadTwentyGroupsToDevice();
     }},
    {"WriteTwentyAt20", KindWrite, CodePresetBlock, 20, false,
     [](FaultRig& r) {
         r.view.openPath = r.goodTwenty;
         r.files.loadTwentyGroupsToDevice();
     }},
};

std::string contentOf(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

struct FaultAtStep : testing::TestWithParam<std::tuple<Fault, Step>>, FaultRig {};

TEST_P(FaultAtStep, WindowRecoversNoDamagedFileAndReconnectAgrees) {
    const auto& [fault, step] = GetParam();
    connect();
    prepareFiles();
    ASSERT_FALSE(contentOf(goodTwenty).empty());
    if (step.startUp) {
        connection.Button3Click();
        clock.advance(1000);
    }

    int seen = 0;
    bool injected = false;
    const Fault* f = &fault;
    const Step* st = &step;
    unit.onFrameReceived = [this, f, st, &seen, &injected](const Bytes& frame) {
        if (injected || frame[4] != st->kind || frame[6] != st->code || ++seen != st->nth) return;
        injected = true;
        f->apply(*this, st->kind == KindWrite ? uint8_t(0) : st->code);
    };
    step.action(*this);
    clock.advance(60000);
    unit.onFrameReceived = nullptr;
    EXPECT_TRUE(injected);

    // The window is the user's again and no exchange is left running or waiting.
    EXPECT_EQ(view.disabled, 0u);
    EXPECT_FALSE(view.progressShown);
    for (const auto* t : {&s.Timer8, &s.Timer9, &s.Timer10, &s.Timer11, &s.Timer22, &s.chcon,
                          &s.chcon112, &s.chcon188})
        EXPECT_FALSE((*t)->isActive());
    EXPECT_EQ(s.Timer1->isActive(), s.linkOpen == 1);

    // A file is written whole or not at all.
    const std::string out = contentOf(written);
    if (!out.empty()) {
        const std::string& reference = std::string_view(step.name).starts_with("Read")
                                           ? contentOf(goodTwenty)
                                           : contentOf(goodOne);
        EXPECT_EQ(out, reference);
    }

    // The user plugs back in and reconnects if the link went or the window said it did.
    unit.faults() = {};
    face.setGarbageBytes(0);
    face.setSplitBatches(0);
    face.setMergeWindowMs(0);
    face.replug();
    if (connection.caption() != "Connect" || view.disconnectedShown) {
        if (s.linkOpen != 0) connection.Button3Click();
        clock.advance(1000);
        connect();
    }
    clock.advance(3000);
    EXPECT_EQ(connection.caption(), "Connect");
    EXPECT_TRUE(unitMatchesModel());
    EXPECT_EQ(s.currentPresetName, unit.currentName());
    EXPECT_EQ(unit.malformedFrames(), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, FaultAtStep,
                         testing::Combine(testing::ValuesIn(Faults), testing::ValuesIn(Steps)),
                         [](const testing::TestParamInfo<FaultAtStep::ParamType>& info) {
                             return std::string(std::get<0>(info.param).name) + "At" +
                                    std::get<1>(info.param).name;
                         });

} // namespace
} // namespace m7410::test
