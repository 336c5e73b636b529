#pragma once

namespace m7410 {

// The connection's reactions to the link time-outs. The timers live in the session (the
// dispatcher stops them); what their expiry does to the link belongs to the connection.
class LinkWatch {
public:
    virtual ~LinkWatch() = default;
    virtual void onStartUpTimeout() = 0;   // no message at all after opening
    virtual void onBlockReadTimeout() = 0; // no current block after opening
    virtual void onNamesReadTimeout() = 0; // no names after opening
    virtual void onPollTimeout() = 0;      // a status poll left unanswered
};

} // namespace m7410
