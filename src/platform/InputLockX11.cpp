#include "platform/InputLockX11.h"

#include <QGuiApplication>
#include <memory>
#include <xcb/xcb.h>

namespace bw {

namespace {

xcb_connection_t* QtConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t RootWindow(xcb_connection_t* connection) {
    const xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    return screens.rem > 0 ? screens.data->root : XCB_WINDOW_NONE;
}

struct FreeReply {
    void operator()(void* reply) const { free(reply); }
};

}  // namespace

bool X11InputLock::available() { return QtConnection() != nullptr; }

bool X11InputLock::grab() {
    xcb_connection_t* connection = QtConnection();
    if (!connection) return false;
    const xcb_window_t root = RootWindow(connection);
    const auto keyboard = xcb_grab_keyboard(connection, 1, root, XCB_CURRENT_TIME,
                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    const uint16_t pointerEvents = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                                   XCB_EVENT_MASK_POINTER_MOTION;
    const auto pointer =
        xcb_grab_pointer(connection, 1, root, pointerEvents, XCB_GRAB_MODE_ASYNC,
                         XCB_GRAB_MODE_ASYNC, XCB_WINDOW_NONE, XCB_CURSOR_NONE, XCB_CURRENT_TIME);
    const std::unique_ptr<xcb_grab_keyboard_reply_t, FreeReply> keyboardReply(
        xcb_grab_keyboard_reply(connection, keyboard, nullptr));
    const std::unique_ptr<xcb_grab_pointer_reply_t, FreeReply> pointerReply(
        xcb_grab_pointer_reply(connection, pointer, nullptr));
    return keyboardReply && keyboardReply->status == XCB_GRAB_STATUS_SUCCESS && pointerReply &&
           pointerReply->status == XCB_GRAB_STATUS_SUCCESS;
}

void X11InputLock::release() {
    xcb_connection_t* connection = QtConnection();
    if (!connection) return;
    xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    xcb_flush(connection);
}

bool SyntheticInputFilter::nativeEventFilter(const QByteArray& eventType, void* message,
                                             qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    constexpr uint8_t kSentByAClient = 0x80;
    if (!(event->response_type & kSentByAClient)) return false;
    switch (event->response_type & ~kSentByAClient) {
        case XCB_KEY_PRESS:
        case XCB_KEY_RELEASE:
        case XCB_BUTTON_PRESS:
        case XCB_BUTTON_RELEASE:
        case XCB_MOTION_NOTIFY:
            return true;
        default:
            return false;
    }
}

}  // namespace bw
