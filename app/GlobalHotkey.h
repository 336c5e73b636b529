// The Ctrl+I hotkey that opens the personal-settings password box, on the whole X11 desktop or in
// the program's windows.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>

class QShortcut;
class QWidget;
struct xcb_connection_t;

namespace m7410 {

// Ctrl+I, pressed anywhere on the desktop. On X11 the key is grabbed on the root window (also
// with NumLock and CapsLock, which do not count as modifiers). Where there is no X11
// connection (offscreen, Wayland) or another program holds the key, it falls back to a
// shortcut of the application's own windows.
class GlobalHotkey : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // systemWide false skips the grab, for tests that must not touch the desktop.
    GlobalHotkey(QWidget* window, bool systemWide);
    ~GlobalHotkey() override;

    bool isSystemWide() const { return connection != nullptr; }
    // A key press with this X modifier state and key code is the hotkey whose key is keycode:
    // Control alone, whatever NumLock, CapsLock and the pointer buttons are doing.
    static bool isHotkey(uint16_t state, uint8_t detail, uint8_t keycode);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void activated();

private:
    bool grab();
    void ungrab();

    xcb_connection_t* connection = nullptr;
    uint32_t root = 0;
    uint8_t keycode = 0;
    QShortcut* fallback = nullptr;
};

} // namespace m7410
