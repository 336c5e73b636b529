// The unit API on the simulated unit over USB, on virtual time: outcomes as typed results,
// notifications, one operation at a time, and files refused before the unit is asked.
#include "common/UnitRig.h"
#include "protocol/Frame.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace m7410::test {
namespace {

class UnitApi : public testing::Test, public UnitRig {
protected:
    QTemporaryDir dir;

    void TearDown() override { EXPECT_EQ(sim.malformedFrames(), 0); }

    template <class T, class Start> UnitResult<T> run(Start start) {
        return unit.await<T>(std::move(start));
    }
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
};

TEST_F(UnitApi, ConnectReportsTheUnitAndTellsListeners) {
    sim.setCurrentPresetNumber(3);
    std::vector<bool> links;
    int namesSeen = 0;
    std::vector<std::string> changed;
    UnitListener listener;
    listener.linkChanged = [&](bool open) { links.push_back(open); };
    listener.namesChanged = [&](const std::array<std::string, 20>&) { ++namesSeen; };
    listener.parameterChanged = [&](const std::string& p, ChangeOrigin o) {
        if (o == ChangeOrigin::ThisProgram) changed.push_back(p);
    };
    unit.subscribe(listener);
    const UnitResult<UnitStatus> r = connect();
    ASSERT_TRUE(r) << r.error().message;
    EXPECT_EQ(r.value().link.rfind("USB ", 0), 0u) << r.value().link;
    EXPECT_EQ(r.value().currentPreset, 3);
    EXPECT_EQ(r.value().names[0], sim.presetName(1));
    EXPECT_EQ(links, std::vector<bool>{true});
    EXPECT_EQ(namesSeen, 1);

    const ParameterPath* gain = findParameterPath("high.gain");
    ASSERT_NE(gain, nullptr);
    std::string why;
    const std::optional<int32_t> index = snapParameterValue(*gain, "-3", why);
    ASSERT_TRUE(index) << why;
    const UnitResult<Done> set =
        run<Done>([&](UnitDone<Done> d) { unit.setParameter(*gain, *index, std::move(d)); });
    ASSERT_TRUE(set) << set.error().message;
    EXPECT_EQ(changed, std::vector<std::string>{"high.gain"});
    EXPECT_EQ(readParameter(unit.model(), *gain).text, "-3.0 dB");

    run<Done>([&](UnitDone<Done> d) { unit.disconnect(std::move(d)); });
    EXPECT_FALSE(unit.isConnected());
}

TEST_F(UnitApi, OneOperationAtATimeAndTypedErrors) {
    ASSERT_TRUE(connect());
    std::optional<UnitResult<UnitStatus>> first;
    unit.recall(2, [&](UnitResult<UnitStatus> r) { first.emplace(std::move(r)); });
    const UnitResult<Done> second =
        run<Done>([&](UnitDone<Done> d) { unit.store(4, "X", std::move(d)); });
    ASSERT_FALSE(second);
    EXPECT_EQ(second.error().kind, UnitErrorKind::Busy);
    EXPECT_EQ(errorKindName(second.error().kind), "busy");
    while (!first)
        clock.PumpWait(10);
    EXPECT_TRUE(*first);

    const UnitResult<UnitStatus> bad =
        run<UnitStatus>([&](UnitDone<UnitStatus> d) { unit.recall(21, std::move(d)); });
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().kind, UnitErrorKind::InvalidArgument);
    const UnitResult<Done> empty =
        run<Done>([&](UnitDone<Done> d) { unit.store(4, "", std::move(d)); });
    ASSERT_FALSE(empty);
    EXPECT_EQ(empty.error().kind, UnitErrorKind::InvalidArgument);

    const UnitResult<RestoreReport> missing = run<RestoreReport>(
        [&](UnitDone<RestoreReport> d) { unit.restore(path("none"), true, std::move(d)); });
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().kind, UnitErrorKind::FileNotReadable);
    EXPECT_EQ(sim.framesReceived(KindWrite, CodePresetBlock), 0);
}

TEST_F(UnitApi, FilesThatAreNotPlainAreRefusedBeforeTheUnitIsAsked) {
    ASSERT_TRUE(connect());
    const std::string fifo = path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int requestsBefore = sim.framesReceived(KindRequest, CodePresetBlock);
    for (const std::string& target : {fifo, std::string("/dev/null"), path("")}) {
        const UnitResult<std::vector<std::string>> r = run<std::vector<std::string>>(
            [&](UnitDone<std::vector<std::string>> d) { unit.backup(target, std::move(d)); });
        ASSERT_FALSE(r) << target;
        EXPECT_EQ(r.error().kind, UnitErrorKind::FileNotWritten) << target;
        const UnitResult<std::string> one = run<std::string>(
            [&](UnitDone<std::string> d) { unit.saveCurrent(target, std::move(d)); });
        ASSERT_FALSE(one) << target;
        EXPECT_EQ(one.error().kind, UnitErrorKind::FileNotWritten) << target;
    }
    EXPECT_EQ(sim.framesReceived(KindRequest, CodePresetBlock), requestsBefore);
    struct stat st {};
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

} // namespace
} // namespace m7410::test
