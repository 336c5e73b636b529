// The shared unit's protocol through UnitClient: every operation of the unit API served by the
// owner, and what one program changes reaching the others.
#include "ShareRig.h"

#include "model/ChannelModel.h"
#include "protocol/Frame.h"

#include <QFileInfo>

namespace m7410::test {
namespace {

using UnitServing = ShareRig;

TEST_F(UnitServing, EveryOperationWorksThroughTheOwner) {
    auto c = client();
    ASSERT_TRUE(c->isOpen());
    EXPECT_GT(c->clientId(), 0);
    const auto connected =
        c->await<UnitStatus>([&](UnitDone<UnitStatus> d) { c->connect(std::move(d)); });
    ASSERT_TRUE(connected) << connected.error().message;
    EXPECT_EQ(connected.value().names[0], sim.presetName(1));
    EXPECT_TRUE(c->isConnected());
    const ParameterPath* gain = findParameterPath("high.gain");
    EXPECT_EQ(readParameter(c->model(), *gain).text, readParameter(unit.model(), *gain).text);

    const auto status =
        c->await<UnitStatus>([&](UnitDone<UnitStatus> d) { c->readStatus(std::move(d)); });
    ASSERT_TRUE(status) << status.error().message;
    EXPECT_TRUE(status.value().bassOn.has_value());

    std::string why;
    const int32_t minus3 = *snapParameterValue(*gain, "-3", why);
    const std::size_t framesBefore = sim.receivedLog().size();
    const auto set = c->await<Done>([&](UnitDone<Done> d) { c->setParameter(*gain, minus3, std::move(d)); });
    ASSERT_TRUE(set) << set.error().message;
    EXPECT_EQ(readParameter(unit.model(), *gain).text, "-3.0 dB");
    int writes = 0;
    for (std::size_t k = framesBefore; k < sim.receivedLog().size(); ++k)
        writes += sim.receivedLog()[k].size() > 4 && sim.receivedLog()[k][4] == KindWrite;
    EXPECT_EQ(writes, 1);

    ChannelBands bands;
    for (int row = 0; row < EqRowsPerChannel; ++row)
        bands[static_cast<std::size_t>(row)] = unit.model().band(bandAddress(2, row));
    bands[1].peakGain = EqGainZeroIndex + 10;
    const auto eq = c->await<Done>([&](UnitDone<Done> d) { c->applyEq(2, bands, std::move(d)); });
    ASSERT_TRUE(eq) << eq.error().message;
    EXPECT_EQ(unit.model().band(bandAddress(2, 1)).peakGain, EqGainZeroIndex + 10);

    const auto stored = c->await<Done>([&](UnitDone<Done> d) { c->store(5, "SHARED", std::move(d)); });
    ASSERT_TRUE(stored) << stored.error().message;
    EXPECT_EQ(sim.presetName(5).substr(0, 6), "SHARED");
    const auto recalled =
        c->await<UnitStatus>([&](UnitDone<UnitStatus> d) { c->recall(5, std::move(d)); });
    ASSERT_TRUE(recalled) << recalled.error().message;
    EXPECT_EQ(recalled.value().currentPreset, 5);

    // Relative paths are the client's: the owner gets them made absolute.
    const QString here = QDir::currentPath();
    QDir::setCurrent(files.path());
    const auto saved =
        c->await<std::string>([&](UnitDone<std::string> d) { c->saveCurrent("one.m7410", std::move(d)); });
    QDir::setCurrent(here);
    ASSERT_TRUE(saved) << saved.error().message;
    EXPECT_TRUE(QFileInfo(QString::fromStdString(file("one.m7410"))).isFile());
    const auto loaded = c->await<std::string>(
        [&](UnitDone<std::string> d) { c->loadCurrent(file("one.m7410"), std::move(d)); });
    ASSERT_TRUE(loaded) << loaded.error().message;

    const auto backup = c->await<std::vector<std::string>>(
        [&](UnitDone<std::vector<std::string>> d) { c->backup(file("all.m7410"), std::move(d)); });
    ASSERT_TRUE(backup) << backup.error().message;
    EXPECT_EQ(backup.value().size(), 20u);
    const auto read = c->await<std::vector<std::string>>(
        [&](UnitDone<std::vector<std::string>> d) { c->readPresets(std::move(d)); });
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value(), backup.value());
    const auto restored = c->await<RestoreReport>(
        [&](UnitDone<RestoreReport> d) { c->restore(file("all.m7410"), true, std::move(d)); });
    ASSERT_TRUE(restored) << restored.error().message;
    EXPECT_EQ(restored.value().verified, std::optional<bool>(true));

    const auto missing = c->await<RestoreReport>(
        [&](UnitDone<RestoreReport> d) { c->restore(file("none"), true, std::move(d)); });
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().kind, UnitErrorKind::FileNotReadable);

    c->await<Done>([&](UnitDone<Done> d) { c->disconnect(std::move(d)); });
    EXPECT_TRUE(unit.isConnected()) << "a client's leaving keeps the owner's link";
}

TEST_F(UnitServing, ChangesReachEveryProgramWithTheirOrigin) {
    auto a = client();
    auto b = client();
    ASSERT_TRUE(b->await<UnitStatus>([&](UnitDone<UnitStatus> d) { b->connect(std::move(d)); }));
    std::vector<std::pair<std::string, ChangeOrigin>> seenByB;
    int setsSeenByB = 0;
    UnitListener lb;
    lb.parameterChanged = [&](const std::string& p, ChangeOrigin o) { seenByB.emplace_back(p, o); };
    lb.setReplaced = [&](ChangeOrigin) { ++setsSeenByB; };
    b->subscribe(lb);
    // The owner's own front end tells a client's edit from its own.
    std::vector<int> requestersSeenByOwner;
    UnitListener lo;
    lo.parameterChanged = [&](const std::string&, ChangeOrigin) {
        requestersSeenByOwner.push_back(server->requestingClient());
    };
    unit.subscribe(lo);
    std::vector<ChangeOrigin> seenByA;
    UnitListener la;
    la.parameterChanged = [&](const std::string&, ChangeOrigin o) { seenByA.push_back(o); };
    a->subscribe(la);

    const ParameterPath* delay = findParameterPath("low.delay");
    std::string why;
    const int32_t index = *snapParameterValue(*delay, "2", why);
    ASSERT_TRUE(a->await<Done>([&](UnitDone<Done> d) { a->setParameter(*delay, index, std::move(d)); }));
    ASSERT_TRUE(pumpUntil([&] { return !seenByB.empty(); }));
    EXPECT_EQ(seenByB.front().first, "low.delay");
    EXPECT_EQ(seenByB.front().second, ChangeOrigin::Unit) << "another program's edit";
    EXPECT_EQ(readParameter(b->model(), *delay).text, readParameter(unit.model(), *delay).text);
    EXPECT_EQ(seenByA, std::vector<ChangeOrigin>{ChangeOrigin::ThisProgram});
    EXPECT_EQ(requestersSeenByOwner, std::vector<int>{a->clientId()});

    // The owner's own edit (the window's) and a recall reach the clients too.
    const ParameterPath* volume = findParameterPath("main.volume");
    const int32_t quieter = *snapParameterValue(*volume, "-10", why);
    ASSERT_TRUE(unit.await<Done>([&](UnitDone<Done> d) { unit.setParameter(*volume, quieter, std::move(d)); }));
    ASSERT_TRUE(pumpUntil([&] { return seenByB.size() >= 2; }));
    EXPECT_EQ(requestersSeenByOwner.back(), 0) << "the owner's own edit";
    EXPECT_EQ(parameterIndex(b->model(), *volume), quieter);
    ASSERT_TRUE(a->await<UnitStatus>([&](UnitDone<UnitStatus> d) { a->recall(2, std::move(d)); }));
    ASSERT_TRUE(pumpUntil([&] { return setsSeenByB > 0; }));
    EXPECT_EQ(parametersJson(b->model()), parametersJson(unit.model()));
}

TEST_F(UnitServing, RequestsOfSeveralClientsTakeTurnsAndAllSucceed) {
    auto a = client();
    auto b = client();
    const ParameterPath* high = findParameterPath("high.gain");
    const ParameterPath* low = findParameterPath("low.gain");
    std::string why;
    std::optional<UnitResult<Done>> ra;
    std::optional<UnitResult<UnitStatus>> rb;
    std::optional<UnitResult<Done>> rc;
    a->setParameter(*high, *snapParameterValue(*high, "-6", why), [&](UnitResult<Done> r) { ra.emplace(r); });
    b->recall(3, [&](UnitResult<UnitStatus> r) { rb.emplace(r); });
    b->setParameter(*low, *snapParameterValue(*low, "-1", why), [&](UnitResult<Done> r) { rc.emplace(r); });
    ASSERT_TRUE(pumpUntil([&] { return ra && rb && rc; }));
    EXPECT_TRUE(*ra) << ra->error().message;
    EXPECT_TRUE(*rb) << rb->error().message;
    EXPECT_TRUE(*rc) << rc->error().message;
    // In the order they came: the recall replaced the set, the low gain came after it.
    EXPECT_EQ(readParameter(unit.model(), *low).text, "-1.0 dB");
}

TEST_F(UnitServing, ARestoreGoesOnWhenItsClientLeaves) {
    auto c = client();
    ASSERT_TRUE(c->await<std::vector<std::string>>(
        [&](UnitDone<std::vector<std::string>> d) { c->backup(file("all.m7410"), std::move(d)); }));
    const int writesBefore = sim.framesReceived(KindWrite, CodePresetBlock);
    bool answered = false;
    c->restore(file("all.m7410"), false, [&](UnitResult<RestoreReport>) { answered = true; });
    ASSERT_TRUE(pumpUntil([&] { return unit.isBusy(); }));
    c.reset();
    ASSERT_TRUE(pumpUntil([&] { return !unit.isBusy(); }));
    EXPECT_EQ(sim.framesReceived(KindWrite, CodePresetBlock) - writesBefore, 20);
    EXPECT_TRUE(unit.isConnected());
    auto next = client();
    EXPECT_TRUE(next->await<UnitStatus>([&](UnitDone<UnitStatus> d) { next->readStatus(std::move(d)); }));
}

} // namespace
} // namespace m7410::test
