#pragma once

#include <optional>
#include <string>
#include <vector>

namespace m7410 {

// Areas of the window that exchanges lock and unlock. Combine with |.
enum ViewPanel : unsigned {
    ChannelPanel = 1u << 0,      // the channel rows
    EqPanel = 1u << 1,           // the EQ page
    ConnectionPanel = 1u << 2,   // connection box, preset area and "Current Preset" box
    FilePanel = 1u << 3,         // the PC file box
    DeviceMemoryPanel = 1u << 4, // the "Device Memory" box
    PortListPanel = 1u << 5,     // the serial port list
    MenuPanel = 1u << 6,         // the "设备", "file" and "about" menus
};

// The four control panels and the menus: what a finished or timed-out exchange gives back.
inline constexpr unsigned UnlockedPanels =
    ChannelPanel | ConnectionPanel | FilePanel | DeviceMemoryPanel | MenuPanel;
// What opening a link or ending the "0 dB" sequence enables.
inline constexpr unsigned EditingPanels = ChannelPanel | EqPanel | ConnectionPanel | FilePanel;

// An entry of the "Load:" list: the slot (1..20) and its name, "Pre3:Club".
inline std::string loadListEntry(int slot, const std::string& name) {
    return "Pre" + std::to_string(slot) + ":" + name;
}

// Why the engine refused a preset file before anything was sent.
enum class FileRefusal {
    Damaged,     // not what a file of its kind holds
    NotReadable, // the system would not read it
};

// Why the connection button left the link closed.
enum class LinkRefusal {
    NoPort,           // no unit on USB and no serial port that opens
    PermissionDenied, // a unit is plugged in that this user may not open
};

enum class PresetFileKind {
    OneGroup,    // default name "M_7410", filter "M_7410File"
    TwentyGroup, // default name "20M_7410", filter "20M_7410File"
};

// Everything the protocol engine and the connection show in the window goes through this
// interface; the main window implements it, tests record it. Every call does nothing unless
// overridden: a front end without a window overrides only what it shows. Texts are UTF-8. All
// calls come on the window's thread. Calls that open a modal dialog may process events
// meanwhile, as a modal dialog does; the engine allows for that.
class SessionView {
public:
    virtual ~SessionView() = default;

    // --- progress box "Please wait, exchange data ." and the window lock
    // Shows the box (left 208, top 232) with the given percentage.
    virtual void showProgress(int /*percent*/) {}
    // Changes the percentage of the box, shown or not.
    virtual void setProgress(int /*percent*/) {}
    virtual void hideProgress() {}
    // Enables or disables every area named in panels (ViewPanel bits).
    virtual void setPanelsEnabled(unsigned /*panels*/, bool /*enabled*/) {}
    // Closes the open channel page or EQ panel, if any (the window's closeCurrentPage).
    virtual void closeCurrentPage() {}

    // --- messages
    // A modal message box with a fixed text ("No port.", "Successfully saved." ...).
    virtual void showMessage(const std::string& /*text*/) {}
    // The non-blocking disconnection window: caption "Warnning", text "Connection has been
    // disconnedted!!", button "OK". Showing it while shown keeps one window.
    virtual void showDisconnected() {}
    virtual void hideDisconnected() {}
    // The save dialog of a preset file kind (its default name and filter, asking before it
    // replaces a file). The chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> askSaveFileName(PresetFileKind /*kind*/) {
        return std::nullopt;
    }
    // The open dialog of a preset file kind (its filter). The chosen path, or nothing when the
    // user cancels. The window must provide it: without it no preset file can be loaded.
    virtual std::optional<std::string> askOpenFileName(PresetFileKind /*kind*/) {
        return std::nullopt;
    }

    // --- typed outcomes, for the engine's own view (the Unit), which makes results of them and
    // shows a front end the window's text; by default that text is shown here
    // A preset file refused before anything was sent; message is the window's text.
    virtual void presetFileRefused(FileRefusal why, const std::string& message) {
        (void)why;
        showMessage(message);
    }
    // A preset file that could not be written; error is the system's reason.
    virtual void presetFileNotSaved(const std::string& error) {
        showMessage("File not saved: " + error);
    }
    // A preset file written in full.
    virtual void presetFileSaved(const std::string& /*path*/) {}
    // The unit confirmed a store.
    virtual void storeConfirmed() { showMessage("Successfully saved."); }
    // The connection button could not open a link; message is the window's text.
    virtual void linkRefused(LinkRefusal why, const std::string& message) {
        (void)why;
        showMessage(message);
    }

    // --- connection box
    virtual void setConnectCaption(const std::string& /*caption*/) {} // "Disconnect" / "Connect"
    virtual void setConnectEnabled(bool /*enabled*/) {}
    // Status bar panel 0: "Disconnect", "  Connecting" + port, "  Disconnect".
    virtual void setStatusText(const std::string& /*text*/) {}
    // The link indicator picture: the connected or the disconnected one.
    virtual void setLinkIndicator(bool /*linkOpen*/) {}
    // The hidden USB label ("已接上设备." / "已移除设备.").
    virtual void setUsbLabel(const std::string& /*text*/) {}
    // Hides the personal-settings and password panels and clears the password-panel flag.
    virtual void hidePersonalPanels() {}

    // --- what the unit reports
    // "Bass +" button: red when on, grey when off.
    virtual void setBassOn(bool /*on*/) {}
    // The number beside "Pre:" in the "Current Preset" box.
    virtual void setCurrentPresetNumber(int /*number*/) {}
    // The read-only name field of the "Current Preset" box.
    virtual void setCurrentPresetName(const std::string& /*name*/) {}
    // Replaces the items of the "Load:" list ("Pre1:name" ... "Pre20:name"). Names carry one
    // character per byte as the unit sent them (Latin-1).
    virtual void setLoadList(const std::vector<std::string>& /*entries*/) {}
    // Selects the first entry of the "Load:" and the "Save:" list and runs the "Save:" list's
    // change handler, which shows that slot's name in the name field.
    virtual void selectFirstPreset() {}
    // Replaces entry slot (1..20) of the "Load:" list with text ("Pre3:Club") and keeps the
    // list's selected entry. Does nothing while the list has no such entry (before the first
    // name list arrived). The window must provide it for a store to show its new name.
    virtual void setLoadListEntry(int /*slot*/, const std::string& /*text*/) {}
    // The name field of the preset area, as the "Save:" list's change handler fills it with
    // the chosen slot's name. The window may keep doing that itself.
    virtual void setNameField(const std::string& /*name*/) {}

    // --- channel controls after a whole set arrived
    // Polarity button of channel 0..3: "-" when inverted, else "+".
    virtual void setPolarity(int /*channel*/, bool /*inverted*/) {}
    // Mute button of output 0..2: grey while the sound is on, red while muted.
    virtual void setMuteColour(int /*channel*/, bool /*soundOn*/) {}
    // Master volume slider (0..301, it limits larger values) and its label, without the
    // slider's own change handler queuing a message.
    virtual void setVolume(int /*position*/) {}
    // A whole set replaced the model (received or loaded from a file); shown already.
    virtual void parameterSetReplaced() {}

    // --- response graph (the renderer works on the session's model)
    // Band redraw of global band 0..23: marker, band curve, channel curve, markers.
    virtual void refreshBand(int /*band*/) {}
    // Recompute the channel's high-pass or low-pass curve with this type code and draw.
    virtual void computeHighPass(int /*channel*/, int /*type*/) {}
    virtual void computeLowPass(int /*channel*/, int /*type*/) {}
};

} // namespace m7410
