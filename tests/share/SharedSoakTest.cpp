// Eight programs setting and getting at random through one owner for a virtual hour:
// every request answered, and at the end every program's copy, the owner and the unit
// agree.
#include "ShareRig.h"

#include "model/ChannelModel.h"
#include "protocol/ParameterBlock.h"

#include <random>

namespace m7410::test {
namespace {

using SharedSoak = ShareRig;

TEST_F(SharedSoak, EightClientsAtRandomAgreeWithTheUnit) {
    constexpr int Clients = 8;
    constexpr int64_t StretchMs = 60 * 60 * 1000; // a virtual hour
    const std::vector<std::pair<const char*, std::pair<double, double>>> targets = {
        {"high.gain", {-20, 0}},       {"middle.gain", {-20, 5}},  {"low.gain", {-20, 5}},
        {"low.delay", {0, 5}},         {"main.delay", {0, 5}},     {"high.eq2.freq", {20, 20000}},
        {"middle.eq4.freq", {20, 20000}}, {"main.volume", {-40, 0}}, {"low.eq1.q", {0.2, 10}},
    };
    std::vector<std::unique_ptr<UnitClient>> clients;
    for (int k = 0; k < Clients; ++k)
        clients.push_back(client());
    std::vector<bool> waiting(Clients, false);
    int answered = 0;
    int failed = 0;
    std::mt19937 random(2026);
    const int64_t end = clock.nowMs() + StretchMs;
    while (clock.nowMs() < end) {
        for (int k = 0; k < Clients; ++k) {
            if (waiting[static_cast<std::size_t>(k)]) continue;
            UnitClient& c = *clients[static_cast<std::size_t>(k)];
            const auto& [name, range] = targets[random() % targets.size()];
            waiting[static_cast<std::size_t>(k)] = true;
            const auto finished = [&, k](bool ok) {
                waiting[static_cast<std::size_t>(k)] = false;
                ++answered;
                failed += !ok;
            };
            if (random() % 2 == 0) {
                c.request("get", {{"path", name}},
                          [finished](UnitResult<QJsonObject> r) { finished(r.ok()); });
                continue;
            }
            const double value = std::uniform_real_distribution<double>(range.first, range.second)(random);
            const ParameterPath* p = findParameterPath(name);
            std::string why;
            const std::optional<int32_t> index = snapParameterValue(*p, std::to_string(value), why);
            ASSERT_TRUE(index) << why;
            c.setParameter(*p, *index, [finished](UnitResult<Done> r) { finished(r.ok()); });
        }
        pump(10);
    }
    ASSERT_TRUE(pumpUntil([&] { return std::none_of(waiting.begin(), waiting.end(), [](bool w) { return w; }); }));
    pumpUntil([] { return false; }, 100); // the last events reach every client

    EXPECT_GT(answered, 5000);
    EXPECT_EQ(failed, 0);
    ChannelModel held;
    decodeBlock(sim.currentSet(), held);
    int mismatches = 0;
    for (const auto& [name, range] : targets) {
        const ParameterPath* p = findParameterPath(name);
        const std::string truth = readParameter(held, *p).text;
        mismatches += readParameter(unit.model(), *p).text != truth;
        for (const auto& c : clients)
            mismatches += readParameter(c->model(), *p).text != truth;
    }
    EXPECT_EQ(mismatches, 0);
    RecordProperty("requests", answered);
    EXPECT_EQ(server->clientCount(), Clients);
}

} // namespace
} // namespace m7410::test
