#pragma once

#include "protocol/LinkWatch.h"
#include "support/Clock.h"

#include <cstdint>
#include <memory>
#include <string>

namespace m7410 {

class ConnectionPorts;
class Session;

// When the link counts as open: opening and closing it on the user's command, the start-up
// and poll time-outs that give it up, and the unit's USB device coming and going.
class Connection : public LinkWatch {
public:
    static constexpr uint16_t UnitVendorId = 0x0483;
    static constexpr uint16_t UnitProductId = 0x5750;
    static constexpr int HidPortNumber = 100;

    Connection(Session& session, ConnectionPorts& ports);
    ~Connection() override;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The connection button: opens while its caption is "Disconnect", else closes.
    void Button3Click();
    // True when the link is open afterwards.
    bool OpenLink();
    void CloseLink();

    void onStartUpTimeout() override;
    void onBlockReadTimeout() override;
    void onNamesReadTimeout() override;
    void onPollTimeout() override;
    void Timer6Timer();

    // A HID device arrived or left; name is its display name.
    void hidctlArrival(const std::string& name, uint16_t vendorId, uint16_t productId);
    void hidctlRemoval(const std::string& name, uint16_t vendorId, uint16_t productId);

    const std::string& caption() const { return buttonCaption; }
    // Whether the connection button opens the link (its caption says the link is closed).
    bool buttonOpens() const;

private:
    void startButtonPause();
    void closeSteps();
    void closeWithWarning();
    void setCaption(const std::string& text);

    Session& s;
    ConnectionPorts& ports;
    std::unique_ptr<Timer> Timer6;
    std::string buttonCaption = "Disconnect";
};

} // namespace m7410
