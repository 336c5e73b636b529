#include "unit/UnitAccess.h"

namespace m7410 {

namespace {
// One value after the other; the first failure ends the run.
struct SetRun {
    UnitAccess& unit;
    std::vector<std::pair<const ParameterPath*, int32_t>> values;
    UnitDone<Done> done;
    std::size_t next = 0;
};

void step(const std::shared_ptr<SetRun>& run) {
    if (run->next >= run->values.size()) {
        UnitDone<Done> done = std::move(run->done);
        done(UnitResult<Done>(Done{}));
        return;
    }
    const auto [path, index] = run->values[run->next++];
    run->unit.setParameter(*path, index, [run](UnitResult<Done> r) {
        if (!r) {
            UnitDone<Done> done = std::move(run->done);
            done(std::move(r));
            return;
        }
        step(run);
    });
}
} // namespace

void UnitAccess::setParameters(const std::vector<std::pair<const ParameterPath*, int32_t>>& values,
                               UnitDone<Done> done) {
    step(std::make_shared<SetRun>(SetRun{*this, values, std::move(done)}));
}

} // namespace m7410
