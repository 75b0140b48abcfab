#include "platform/wayland/KeysymKeys.h"

#include <xkbcommon/xkbcommon.h>

#include <QChar>
#include <QList>
#include <QString>

#include "platform/KeyCodes.h"

namespace bw {

namespace {

struct KeysymKey {
    uint32_t keysym;
    int qt;
};

// Keysyms without a character, as Qt names them.
constexpr KeysymKey kKeysymKeys[] = {
    {XKB_KEY_Escape, Qt::Key_Escape},
    {XKB_KEY_Tab, Qt::Key_Tab},
    {XKB_KEY_ISO_Left_Tab, Qt::Key_Backtab},
    {XKB_KEY_BackSpace, Qt::Key_Backspace},
    {XKB_KEY_Return, Qt::Key_Return},
    {XKB_KEY_Insert, Qt::Key_Insert},
    {XKB_KEY_Delete, Qt::Key_Delete},
    {XKB_KEY_Clear, Qt::Key_Delete},  // sic: Qt reports Clear as Delete
    {XKB_KEY_Pause, Qt::Key_Pause},
    {XKB_KEY_Print, Qt::Key_Print},
    {XKB_KEY_Sys_Req, Qt::Key_SysReq},
    {XKB_KEY_Home, Qt::Key_Home},
    {XKB_KEY_End, Qt::Key_End},
    {XKB_KEY_Left, Qt::Key_Left},
    {XKB_KEY_Up, Qt::Key_Up},
    {XKB_KEY_Right, Qt::Key_Right},
    {XKB_KEY_Down, Qt::Key_Down},
    {XKB_KEY_Prior, Qt::Key_PageUp},
    {XKB_KEY_Next, Qt::Key_PageDown},
    {XKB_KEY_Shift_L, Qt::Key_Shift},
    {XKB_KEY_Shift_R, Qt::Key_Shift},
    {XKB_KEY_Shift_Lock, Qt::Key_Shift},
    {XKB_KEY_Control_L, Qt::Key_Control},
    {XKB_KEY_Control_R, Qt::Key_Control},
    {XKB_KEY_Meta_L, Qt::Key_Meta},
    {XKB_KEY_Meta_R, Qt::Key_Meta},
    {XKB_KEY_Alt_L, Qt::Key_Alt},
    {XKB_KEY_Alt_R, Qt::Key_Alt},
    {XKB_KEY_ISO_Level3_Shift, Qt::Key_AltGr},
    {XKB_KEY_Mode_switch, Qt::Key_Mode_switch},
    {XKB_KEY_Caps_Lock, Qt::Key_CapsLock},
    {XKB_KEY_Num_Lock, Qt::Key_NumLock},
    {XKB_KEY_Scroll_Lock, Qt::Key_ScrollLock},
    {XKB_KEY_Super_L, Qt::Key_Super_L},
    {XKB_KEY_Super_R, Qt::Key_Super_R},
    {XKB_KEY_Hyper_L, Qt::Key_Hyper_L},
    {XKB_KEY_Hyper_R, Qt::Key_Hyper_R},
    {XKB_KEY_Menu, Qt::Key_Menu},
    {XKB_KEY_Help, Qt::Key_Help},
    {XKB_KEY_Multi_key, Qt::Key_Multi_key},
    {XKB_KEY_Undo, Qt::Key_Undo},
    {XKB_KEY_Redo, Qt::Key_Redo},
    {XKB_KEY_Find, Qt::Key_Find},
    {XKB_KEY_Cancel, Qt::Key_Cancel},
    // Keypad; its digits follow from their range
    {XKB_KEY_KP_Space, Qt::Key_Space},
    {XKB_KEY_KP_Tab, Qt::Key_Tab},
    {XKB_KEY_KP_Enter, Qt::Key_Enter},
    {XKB_KEY_KP_Home, Qt::Key_Home},
    {XKB_KEY_KP_Left, Qt::Key_Left},
    {XKB_KEY_KP_Up, Qt::Key_Up},
    {XKB_KEY_KP_Right, Qt::Key_Right},
    {XKB_KEY_KP_Down, Qt::Key_Down},
    {XKB_KEY_KP_Prior, Qt::Key_PageUp},
    {XKB_KEY_KP_Next, Qt::Key_PageDown},
    {XKB_KEY_KP_End, Qt::Key_End},
    {XKB_KEY_KP_Begin, Qt::Key_Clear},
    {XKB_KEY_KP_Insert, Qt::Key_Insert},
    {XKB_KEY_KP_Delete, Qt::Key_Delete},
    {XKB_KEY_KP_Equal, Qt::Key_Equal},
    {XKB_KEY_KP_Multiply, Qt::Key_Asterisk},
    {XKB_KEY_KP_Add, Qt::Key_Plus},
    {XKB_KEY_KP_Separator, Qt::Key_Comma},
    {XKB_KEY_KP_Subtract, Qt::Key_Minus},
    {XKB_KEY_KP_Decimal, Qt::Key_Period},
    {XKB_KEY_KP_Divide, Qt::Key_Slash},
    // Media and browser keys Windows has codes for
    {XKB_KEY_XF86Back, Qt::Key_Back},
    {XKB_KEY_XF86Forward, Qt::Key_Forward},
    {XKB_KEY_XF86Refresh, Qt::Key_Refresh},
    {XKB_KEY_XF86Stop, Qt::Key_Stop},
    {XKB_KEY_XF86Search, Qt::Key_Search},
    {XKB_KEY_XF86Favorites, Qt::Key_Favorites},
    {XKB_KEY_XF86HomePage, Qt::Key_HomePage},
    {XKB_KEY_XF86AudioMute, Qt::Key_VolumeMute},
    {XKB_KEY_XF86AudioLowerVolume, Qt::Key_VolumeDown},
    {XKB_KEY_XF86AudioRaiseVolume, Qt::Key_VolumeUp},
    {XKB_KEY_XF86AudioNext, Qt::Key_MediaNext},
    {XKB_KEY_XF86AudioPrev, Qt::Key_MediaPrevious},
    {XKB_KEY_XF86AudioStop, Qt::Key_MediaStop},
    {XKB_KEY_XF86AudioPlay, Qt::Key_MediaPlay},
    {XKB_KEY_XF86Mail, Qt::Key_LaunchMail},
    {XKB_KEY_XF86AudioMedia, Qt::Key_LaunchMedia},
    {XKB_KEY_XF86MyComputer, Qt::Key_LaunchMedia},
    {XKB_KEY_XF86Launch0, Qt::Key_Launch0},
    {XKB_KEY_XF86Launch1, Qt::Key_Launch1},
    {XKB_KEY_XF86Sleep, Qt::Key_Sleep},
    {XKB_KEY_XF86Select, Qt::Key_Select},
    {XKB_KEY_XF86Clear, Qt::Key_Clear},
};

// The range Qt flags with KeypadModifier (KP_Equal lies past it).
bool isKeypadKeysym(uint32_t keysym) {
    return keysym >= XKB_KEY_KP_Space && keysym <= XKB_KEY_KP_9;
}

}  // namespace

int qtKeyForKeysym(uint32_t keysym, Qt::KeyboardModifiers* modifiers) {
    if (isKeypadKeysym(keysym)) *modifiers |= Qt::KeypadModifier;
    if (keysym >= XKB_KEY_F1 && keysym <= XKB_KEY_F35) return Qt::Key_F1 + int(keysym - XKB_KEY_F1);
    if (keysym >= XKB_KEY_KP_0 && keysym <= XKB_KEY_KP_9)
        return Qt::Key_0 + int(keysym - XKB_KEY_KP_0);
    if (keysym >= 0x20 && keysym <= 0xFF) {
        // Latin-1 keysyms are their characters. Qt keeps the lower case of the few whose upper
        // case lies outside Latin-1 (micro sign, y diaeresis), and upper-cases one to one, so
        // sharp s stays itself.
        const char32_t upper = QChar::toUpper(char32_t(keysym));
        return int(upper <= 0xFF ? upper : keysym);
    }
    for (const KeysymKey& key : kKeysymKeys) {
        if (key.keysym == keysym) return key.qt;
    }
    const char32_t character = xkb_keysym_to_utf32(keysym);
    if (character == 0) return 0;
    const QString text = QString::fromUcs4(&character, 1);
    // Digits of any script are Qt's digit keys.
    if (text.front().isDigit()) return Qt::Key_0 + text.front().digitValue();
    return int(text.toUpper().toUcs4().value(0));
}

int windowsKeyCodeForKeysym(uint32_t keysym, uint32_t xkbKeycode, uint32_t firstLayoutKeysym) {
    Qt::KeyboardModifiers modifiers;
    const int qtKey = qtKeyForKeysym(keysym, &modifiers);
    // windowsKeyCode takes the X keycode and a keysym, which is what xkb gives on Wayland too.
    return windowsKeyCode(qtKey, modifiers, xkbKeycode, firstLayoutKeysym);
}

}  // namespace bw
