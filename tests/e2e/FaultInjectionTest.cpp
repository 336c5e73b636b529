// Every fault of the simulated unit or of the way to it, injected at every step of every
// exchange, on the serial line and over USB: the window must come back, no damaged file may be
// left, and after a reconnect the window and the unit must agree.
#include "FaultRigs.h"

#include "protocol/ParameterGroup.h"

#include <QFile>

#include <optional>

namespace m7410::test {
namespace {

struct Face {
    const char* name;
    std::unique_ptr<FaultRig> (*make)();
};

const Face Faces[] = {
    {"Serial", [] { return std::unique_ptr<FaultRig>(new SerialFaultRig); }},
    {"Usb", [] { return std::unique_ptr<FaultRig>(new HidFaultRig); }},
};

struct Fault {
    const char* name;
    // On the unit: a reply code to drop once, a latency, or silence.
    void (*onUnit)(sim::SimUnit::Faults&, uint8_t replyCode);
    std::optional<FaceFault> onFace;
};

const Fault Faults[] = {
    {"Silence", [](sim::SimUnit::Faults& f, uint8_t) { f.silent = true; }, {}},
    {"LateReply", [](sim::SimUnit::Faults& f, uint8_t) { f.latencyMs = 2500; }, {}},
    {"DroppedReply", [](sim::SimUnit::Faults& f, uint8_t code) { f.drop[code] = 1; }, {}},
    {"Garbage", nullptr, FaceFault::Garbage},
    {"Reshaped", nullptr, FaceFault::Reshaped},
    {"Unplug", nullptr, FaceFault::Unplug},
};

enum class Written { Nothing, OneGroup, TwentyGroups };

// The step is the Nth frame of this kind and code the unit receives after the action starts.
struct Step {
    const char* name;
    uint8_t kind;
    uint8_t code;
    int nth;
    // The reply a dropped reply drops: the frame's own, else (writes that get none) the next
    // status reply.
    uint8_t reply;
    bool startUp;
    Written file;
    void (*action)(FaultRig&);
};

// "0 dB" runs on channel 0, whose band messages all carry that channel's code.
constexpr int ZeroDbChannel = 0;
const uint8_t ZeroDbCode = addressOf(eqBandGroup(bandAddress(ZeroDbChannel, 0))).code;

const Step Steps[] = {
    {"StartUpBlock", KindRequest, CodeCurrentBlock, 1, CodeCurrentBlock, true, Written::Nothing,
     [](FaultRig& r) { r.connection.Button3Click(); }},
    {"StartUpNames", KindRequest, CodeNames, 1, CodeNames, true, Written::Nothing,
     [](FaultRig& r) { r.connection.Button3Click(); }},
    {"StartUpSystemRecord", KindRequest, CodeSystemRecord, 1, CodeSystemRecord, true,
     Written::Nothing, [](FaultRig& r) { r.connection.Button3Click(); }},
    {"Recall", KindRequest, CodeCurrentBlock, 1, CodeCurrentBlock, false, Written::Nothing,
     [](FaultRig& r) { r.presets.loadClicked(6); }},
    {"Store", KindWrite, CodePresetName, 1, 0 /* the acknowledgement */, false, Written::Nothing,
     [](FaultRig& r) { r.presets.saveClicked(2, "Fault"); }},
    {"SaveOneGroup", KindRequest, CodeCurrentBlock, 1, CodeCurrentBlock, false, Written::OneGroup,
     [](FaultRig& r) { r.files.saveOneGroupToPc(); }},
    {"ReadTwentyAt1", KindRequest, CodePresetBlock, 1, CodePresetBlock, false,
     Written::TwentyGroups, [](FaultRig& r) { r.files.saveTwentyGroupsToPc(); }},
    {"ReadTwentyAt10", KindRequest, CodePresetBlock, 10, CodePresetBlock, false,
     Written::TwentyGroups, [](FaultRig& r) { r.files.saveTwentyGroupsToPc(); }},
    {"ReadTwentyAt20", KindRequest, CodePresetBlock, 20, CodePresetBlock, false,
     Written::TwentyGroups, [](FaultRig& r) { r.files.saveTwentyGroupsToPc(); }},
    {"LoadOneGroup", KindWrite, CodeCurrentBlock, 1, CodeStatus, false, Written::Nothing,
     [](FaultRig& r) {
         r.view.openPath = r.goodOne;
         r.files.loadOneGroupToDevice();
     }},
    {"WriteTwentyAt1", KindWrite, CodePresetBlock, 1, CodeStatus, false, Written::Nothing,
     [](FaultRig& r) {
         r.view.openPath = r.goodTwenty;
         r.files.loadTwentyGroupsToDevice();
     }},
    {"WriteTwentyAt10", KindWrite, CodePresetBlock, 10, CodeStatus, false, Written::Nothing,
     [](FaultRig& r) {
         r.view.openPath = r.goodTwenty;
         r.files.loadTwentyGroupsToDevice();
     }},
    {"WriteTwentyAt20", KindWrite, CodePresetBlock, 20, CodeStatus, false, Written::Nothing,
     [](FaultRig& r) {
         r.view.openPath = r.goodTwenty;
         r.files.loadTwentyGroupsToDevice();
     }},
    {"ZeroDb", KindWrite, ZeroDbCode, 3, CodeStatus, false, Written::Nothing,
     [](FaultRig& r) { r.zeroDb(ZeroDbChannel); }},
};

std::string contentOf(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

// Test parameters print as their names.
void PrintTo(const Face& face, std::ostream* os) {
    *os << face.name;
}
void PrintTo(const Fault& fault, std::ostream* os) {
    *os << fault.name;
}
void PrintTo(const Step& step, std::ostream* os) {
    *os << step.name;
}

struct FaultAtStep : testing::TestWithParam<std::tuple<Face, Fault, Step>> {};

TEST_P(FaultAtStep, WindowRecoversNoDamagedFileAndReconnectAgrees) {
    // Named references rather than structured bindings: lambdas below capture them.
    const Face& face = std::get<0>(GetParam());
    const Fault& fault = std::get<1>(GetParam());
    const Step& step = std::get<2>(GetParam());
    const std::unique_ptr<FaultRig> rig = face.make();
    FaultRig& r = *rig;
    Session& s = r.s;
    r.connect();
    r.prepareFiles();
    ASSERT_FALSE(contentOf(r.goodTwenty).empty());
    if (step.startUp) {
        r.connection.Button3Click();
        r.clock.advance(1000);
    }
    const int disconnections = r.view.disconnectedCount;

    int seen = 0;
    bool injected = false;
    r.unit.onFrameReceived = [&](const Bytes& frame) {
        if (injected || frame[4] != step.kind || frame[6] != step.code || ++seen != step.nth)
            return;
        injected = true;
        if (fault.onUnit) fault.onUnit(r.unit.faults(), step.reply);
        if (fault.onFace) r.injectOnFace(*fault.onFace);
    };
    step.action(r);
    r.clock.advance(60000);
    r.unit.onFrameReceived = nullptr;
    EXPECT_TRUE(injected);

    // The window is the user's again and no exchange is left running or waiting.
    EXPECT_EQ(r.view.disabled, 0u);
    EXPECT_FALSE(r.view.progressShown);
    for (const auto* t :
         {&s.presetReadStep(), &s.presetReadTimeout(), &s.presetWriteStep(), &s.storeConfirmation(),
          &s.recallTimeout(), &s.startUpTimeout(), &s.blockReadTimeout(), &s.namesReadTimeout()})
        EXPECT_FALSE(t->isActive());
    EXPECT_EQ(s.statusPoll().isActive(), s.linkOpen() == 1);

    // A file is written whole or not at all.
    const std::string out = contentOf(r.written);
    const std::string reference = step.file == Written::TwentyGroups ? contentOf(r.goodTwenty)
                                  : step.file == Written::OneGroup   ? contentOf(r.goodOne)
                                                                     : std::string();
    if (!out.empty()) {
        EXPECT_TRUE(out == reference) << out.size() << " characters written";
    }
    // A face fault its face copes with leaves the exchange whole and the link up.
    if (fault.onFace && r.copesWith(*fault.onFace)) {
        EXPECT_EQ(r.view.disconnectedCount, disconnections);
        EXPECT_TRUE(out == reference) << out.size() << " characters written";
    }

    // The user plugs back in and reconnects if the link went or the window said it did.
    r.unit.faults() = {};
    r.healFace();
    if (r.connection.caption() != "Connect" || r.view.disconnectedShown) {
        if (s.linkOpen() != 0) r.connection.Button3Click();
        r.clock.advance(1000);
        r.connect();
    }
    r.clock.advance(3000);
    EXPECT_EQ(r.connection.caption(), "Connect");
    EXPECT_TRUE(r.unitMatchesModel());
    EXPECT_EQ(s.currentPresetName(), r.unit.currentName());
    EXPECT_EQ(r.unit.malformedFrames(), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, FaultAtStep,
                         testing::Combine(testing::ValuesIn(Faces), testing::ValuesIn(Faults),
                                          testing::ValuesIn(Steps)),
                         [](const testing::TestParamInfo<FaultAtStep::ParamType>& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    std::get<1>(info.param).name + "At" +
                                    std::get<2>(info.param).name;
                         });

} // namespace
} // namespace m7410::test
