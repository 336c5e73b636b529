#pragma once

#include "FakeLink.h"
#include "RecordingView.h"
#include "protocol/Frame.h"
#include "protocol/LinkWatch.h"
#include "protocol/Session.h"
#include "support/HexText.h"
#include "support/VirtualClock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace m7410::test {

inline const std::string StatusRequestHex = "A5A5A500A2002B00000089AA";
inline const std::string NamesRequestHex = "A5A5A500A200260000008"
                                           "4AA";
inline const std::string SystemRecordRequestHex = "A5A5A500A2002100000800000000000000008BAA";

// Records when the link time-outs expire; each stops its own timer as the connection does.
struct RecordingWatch : LinkWatch {
    explicit RecordingWatch(Session& s) : s(s) {}
    void onStartUpTimeout() override { note("chcon", s.startUpTimeout()); }
    void onBlockReadTimeout() override { note("chcon112", s.blockReadTimeout()); }
    void onNamesReadTimeout() override { note("chcon188", s.namesReadTimeout()); }
    void onPollTimeout() override { note("intimer", s.pollTimeout()); }
    void note(const std::string& name, Timer& t) {
        t.stop();
        expired.push_back(name + "@" + std::to_string(s.clock().nowMs()));
    }
    Session& s;
    std::vector<std::string> expired;
};

// A session on virtual time with a recording view and link.
struct SessionRig {
    VirtualClock clock;
    RecordingView view;
    FakeLink link{clock};
    Session s{clock, view, link};
    RecordingWatch watch{s};

    SessionRig() { s.setLinkWatch(&watch); }

    // A reply as the unit frames it, handed to the dispatcher as one message.
    void receive(uint8_t kind, uint8_t argument, uint8_t code, const std::vector<uint8_t>& data) {
        s.receiveText() = toHex(buildFrame(0, kind, argument, code, 0, data.data(), data.size()));
        s.ProcessReceived();
    }
};

struct SessionFixture : testing::Test, SessionRig {};

} // namespace m7410::test
