#include "platform/KeyboardLayoutX11.h"

#include <QGuiApplication>

// After Qt: Xlib defines names (Bool, Status) that Qt's headers use.
#include <X11/XKBlib.h>

namespace bw {

uint32_t firstLayoutKeysym(uint32_t keycode) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display || keycode > 255) return 0;
    // Asked afresh each time: Xlib's cached map would miss a layout changed while we run
    // (Qt reads the events that announce it). Only keys that name no Windows key come here.
    XkbDescPtr keyboard = XkbGetMap(display, XkbKeySymsMask, XkbUseCoreKbd);
    if (!keyboard) return 0;
    uint32_t keysym = 0;
    const auto key = static_cast<KeyCode>(keycode);
    if (key >= keyboard->min_key_code && key <= keyboard->max_key_code &&
        XkbKeyNumGroups(keyboard, key) > 0 && XkbKeyGroupsWidth(keyboard, key) > 0)
        keysym = static_cast<uint32_t>(XkbKeySymEntry(keyboard, key, 0, 0));
    XkbFreeKeyboard(keyboard, 0, True);
    return keysym;
}

}  // namespace bw
