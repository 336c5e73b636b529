#include "link/Connection.h"

#include "link/ConnectionPorts.h"
#include "protocol/Frame.h"
#include "protocol/Session.h"
#include "protocol/SessionView.h"

namespace m7410 {

namespace {
constexpr int ButtonPauseMs = 2000;
constexpr int ReopenPauseMs = 100;
constexpr int ClosePauseMs = 50;
constexpr int FailedPortNumber = 0;
constexpr int ClosedPortNumber = -1;
const std::string CaptionClosed = "Disconnect";
const std::string CaptionOpen = "Connect";

bool isUnit(uint16_t vendorId, uint16_t productId) {
    return vendorId == Connection::UnitVendorId && productId == Connection::UnitProductId;
}
} // namespace

Connection::Connection(Session& session, ConnectionPorts& ports)
    : s(session), ports(ports),
      Timer6(session.clock().createTimer(ButtonPauseMs, [this] { Timer6Timer(); })) {
    s.setLinkWatch(this);
}

Connection::~Connection() {
    s.setLinkWatch(nullptr);
}

void Connection::setCaption(const std::string& text) {
    buttonCaption = text;
    s.view().setConnectCaption(text);
}

bool Connection::buttonOpens() const {
    return buttonCaption == CaptionClosed;
}

void Connection::startButtonPause() {
    Timer6->start();
    s.view().setConnectEnabled(false);
    s.view().hidePersonalPanels();
}

void Connection::Button3Click() {
    startButtonPause();
    if (buttonCaption != CaptionClosed) {
        closeSteps();
        return;
    }
    s.view().hideDisconnected();
    ports.takeSelectedPort();
    // Opened rather than "port number not 0": a port whose name carries no number (a
    // pseudo-terminal given on the command line) keeps number 0 but opens all the same.
    if (OpenLink()) {
        s.view().setStatusText("  Connecting" + ports.selectedPortText());
        setCaption(CaptionOpen);
    }
}

bool Connection::OpenLink() {
    s.view().closeCurrentPage();
    s.recallPending() = false;
    s.bandProgressActive() = false;
    s.bandProgressSteps() = 0;
    s.view().hideProgress();
    s.view().setPanelsEnabled(EditingPanels, true);
    // While opening, only the start-up exchange runs: nothing left over from an earlier link
    // may poll (it would empty the receive text under the block reply) or send a stale edit.
    s.scheduler().stopAll();
    s.endExchanges();

    s.scheduler().ClearAllPending();
    if (s.linkOpen() != 0) {
        ports.CloseSerialPort();
        s.linkOpen() = 0;
        s.clock().PumpWait(ReopenPauseMs);
    }
    // Tried in every case: with the unit on USB the port is still opened and listened to.
    if (ports.OpenSerialPort()) s.linkOpen() = 1;
    // A unit this user may not open would only time out later: say why now, where the user
    // looks, instead of a bare "No port.".
    const std::string denied = ports.deniedHidNode();
    if (!denied.empty()) ports.AddToHistory(denied + ": permission denied");
    if (ports.hasActiveHidDevice() && denied.empty()) {
        s.linkOpen() = 1;
        ports.portNumber() = HidPortNumber;
    } else if (s.linkOpen() == 0) {
        ports.portNumber() = FailedPortNumber;
        s.view().linkRefused(denied.empty() ? LinkRefusal::NoPort : LinkRefusal::PermissionDenied,
                             denied.empty()
                                 ? std::string("No port.")
                                 : "The unit is plugged in but this user may not open " + denied +
                                       ". Install the udev rule (see README, 'USB access') "
                                       "and plug the unit in again.");
        return false;
    }
    if (ports.isSerialOpen()) ports.StartSerialWaitThread();

    s.receiveText().clear();
    s.scheduler().SendFrame(currentBlockReadRequest(s.deviceNumber()));
    s.startUpTimeout().start();
    s.blockReadTimeout().start();
    s.namesReadTimeout().start();
    return true;
}

void Connection::CloseLink() {
    startButtonPause();
    closeSteps();
}

void Connection::closeSteps() {
    // The whole window comes back, including what an exchange cut short had locked.
    s.view().hideProgress();
    s.view().setPanelsEnabled(UnlockedPanels | EditingPanels | PortListPanel, true);
    s.scheduler().stopAll();
    // A start-up time-out must not fire against a link the user already closed.
    s.startUpTimeout().stop();
    s.blockReadTimeout().stop();
    s.namesReadTimeout().stop();
    s.endExchanges();

    ports.portNumber() = ClosedPortNumber;
    s.clock().PumpWait(ClosePauseMs); // a serial batch already on its way is handled first
    if (s.linkOpen() != 0) ports.CloseSerialPort();
    s.linkOpen() = 0;
    s.view().setStatusText("  Disconnect");
    setCaption(CaptionClosed);
}

void Connection::closeWithWarning() {
    CloseLink();
    s.view().showDisconnected();
}

// Closing stops every start-up and poll time-out, the expired one included.
void Connection::onStartUpTimeout() {
    closeWithWarning();
}

void Connection::onBlockReadTimeout() {
    closeWithWarning();
}

void Connection::onNamesReadTimeout() {
    closeWithWarning();
}

void Connection::onPollTimeout() {
    closeWithWarning();
}

void Connection::Timer6Timer() {
    Timer6->stop();
    s.view().setConnectEnabled(true);
}

void Connection::hidctlArrival(const std::string& name, uint16_t vendorId, uint16_t productId) {
    ports.AddToHistory("Arrival of " + name);
    if (!isUnit(vendorId, productId)) return;
    s.view().setUsbLabel("已接上设备.");
    if (s.linkOpen() == 0) ports.hidctlDeviceChange();
}

void Connection::hidctlRemoval(const std::string& name, uint16_t vendorId, uint16_t productId) {
    ports.AddToHistory("Removal of " + name);
    if (!isUnit(vendorId, productId)) return;
    s.view().setUsbLabel("已移除设备.");
    if (s.linkOpen() == 0) return;
    s.view().showDisconnected();
    CloseLink();
}

} // namespace m7410
