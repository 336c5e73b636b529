// The unit API's edits: one parameter, or a channel's six EQ bands, sent through the paced
// queue as the window's edits are.
#include "unit/Unit.h"

#include "model/ChannelModel.h"
#include "protocol/Frame.h"
#include "protocol/ParameterGroup.h"
#include "protocol/Session.h"

namespace m7410 {

namespace {
// The status poll that follows the sent message; its reply shows the unit took the frame
// before it (the link is one ordered stream).
constexpr int AnswerLimitMs = 2500;
} // namespace

void Unit::reportSent(const uint8_t* frame, std::size_t size) {
    ParameterGroup group{};
    if (size != FrameOverhead + GroupBytesSize || !groupAt(frame[6], frame[7], group)) return;
    ChannelModel after = *reported;
    decodeGroup(after, group, frame + FrameHeaderSize);
    std::vector<const ParameterPath*> changed;
    for (const ParameterPath& p : allParameterPaths())
        if (parameterIndex(after, p) != parameterIndex(*reported, p)) changed.push_back(&p);
    // Taken before the listeners run: one of them may edit again.
    *reported = after;
    for (const ParameterPath* p : changed)
        notify([p](UnitListener& l) {
            if (l.parameterChanged) l.parameterChanged(p->path, ChangeOrigin::ThisProgram);
        });
}

void Unit::sendEdits(const std::string& what, UnitDone<Done> done) {
    Session& s = session();
    // A single message is sent in a moment: no progress bar for it.
    quietProgress = true;
    const bool sent = s.scheduler().sendQueuedEdits();
    quietProgress = false;
    if (!sent || !isConnected()) {
        finish(done, UnitResult<Done>::failure(UnitErrorKind::LinkLost,
                                               "the link to the unit was lost before " + what));
        return;
    }
    // A status byte other than "Bass +" on or off tells nothing; then the link still open
    // after the poll time-out is the answer.
    const int answers = seen.statusReplies;
    auto d = std::make_shared<UnitDone<Done>>(std::move(done));
    waitFor([this, answers] { return seen.statusReplies > answers; }, AnswerLimitMs,
            [this, d, what](WaitEnd end) {
                if (end == WaitEnd::Lost || !isConnected())
                    finish(*d, UnitResult<Done>::failure(UnitErrorKind::LinkLost,
                                                         "no answer from the unit after " + what));
                else
                    finish(*d, UnitResult<Done>(Done{}));
            });
}

void Unit::setParameter(const ParameterPath& path, int32_t index, UnitDone<Done> done) {
    if (!begin(done)) return;
    Session& s = session();
    writeParameter(s.model(), s.builders(), path, index);
    sendEdits(path.path + " was sent", std::move(done));
}

void Unit::setParameters(const std::vector<std::pair<const ParameterPath*, int32_t>>& values,
                         UnitDone<Done> done) {
    if (!begin(done)) return;
    Session& s = session();
    for (const auto& value : values) {
        const ParameterPath* path = value.first;
        writeParameter(s.model(), s.builders(), *path, value.second);
    }
    sendEdits(std::to_string(values.size()) + " values were sent", std::move(done));
}

void Unit::applyEq(int channel, const ChannelBands& bands, UnitDone<Done> done) {
    if (!begin(done)) return;
    if (channel < 0 || channel >= ChannelCount) {
        finish(done, UnitResult<Done>::failure(UnitErrorKind::InvalidArgument, "no such channel"));
        return;
    }
    Session& s = session();
    // As the window's Apply: every band into the model, then each band's message.
    for (int row = 0; row < EqRowsPerChannel; ++row) {
        const int band = bandAddress(channel, row);
        s.model().band(band) = bands[static_cast<std::size_t>(row)];
        s.builders().QueueEqBandMessage(band);
    }
    sendEdits("the bands were sent", std::move(done));
}

} // namespace m7410
