#include "app/GlobalHotkey.h"

#include "app/AppLogging.h"

#include <QGuiApplication>
#include <QShortcut>
#include <QWidget>

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>

namespace m7410 {

namespace {

// NumLock is Mod2 on every common keyboard map; neither it nor CapsLock is a modifier here.
constexpr uint16_t IgnoredMasks[] = {0, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK,
                                     XCB_MOD_MASK_2 | XCB_MOD_MASK_LOCK};
constexpr uint16_t LockMasks = XCB_MOD_MASK_2 | XCB_MOD_MASK_LOCK;
// Pointer buttons held down do not change the key either.
constexpr uint16_t ButtonMasks = XCB_KEY_BUT_MASK_BUTTON_1 | XCB_KEY_BUT_MASK_BUTTON_2 |
                                 XCB_KEY_BUT_MASK_BUTTON_3 | XCB_KEY_BUT_MASK_BUTTON_4 |
                                 XCB_KEY_BUT_MASK_BUTTON_5;

} // namespace

GlobalHotkey::GlobalHotkey(QWidget* window, bool systemWide) : QObject(window) {
    if (systemWide && grab()) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        return;
    }
    fallback = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_I), window);
    fallback->setContext(Qt::ApplicationShortcut);
    connect(fallback, &QShortcut::activated, this, &GlobalHotkey::activated);
}

GlobalHotkey::~GlobalHotkey() {
    if (connection != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
        ungrab();
    }
}

bool GlobalHotkey::grab() {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    // Using a null connection would crash; offscreen and Wayland have none.
    xcb_connection_t* c = x11 != nullptr ? x11->connection() : nullptr;
    if (c == nullptr) return false;

    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(c);
    if (symbols == nullptr) return false;
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, XK_i);
    const uint8_t code = codes != nullptr ? codes[0] : 0;
    std::free(codes);
    xcb_key_symbols_free(symbols);
    if (code == 0) return false;

    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (screen == nullptr) return false;
    connection = c;
    root = screen->root;
    keycode = code;
    for (uint16_t extra : IgnoredMasks) {
        const xcb_void_cookie_t cookie =
            xcb_grab_key_checked(c, 1, root, XCB_MOD_MASK_CONTROL | extra, keycode,
                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
            // BadAccess: another program holds Ctrl+I.
            qCWarning(appLog,
                      "Ctrl+I is taken by another program (X error %d); it works in "
                      "this program's window only",
                      error->error_code);
            std::free(error);
            ungrab();
            connection = nullptr;
            return false;
        }
    }
    return true;
}

void GlobalHotkey::ungrab() {
    for (uint16_t extra : IgnoredMasks)
        xcb_ungrab_key(connection, keycode, root, XCB_MOD_MASK_CONTROL | extra);
    xcb_flush(connection);
}

bool GlobalHotkey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || message == nullptr) return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS) return false;
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    if (!isHotkey(key->state, key->detail, keycode)) return false;
    emit activated();
    return true;
}

bool GlobalHotkey::isHotkey(uint16_t state, uint8_t detail, uint8_t code) {
    // Control alone: Ctrl+Shift+I or Alt+I is not the hotkey.
    const uint16_t modifiers = state & ~(LockMasks | ButtonMasks);
    return code != 0 && detail == code && modifiers == XCB_MOD_MASK_CONTROL;
}

} // namespace m7410
