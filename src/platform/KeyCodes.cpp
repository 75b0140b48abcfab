#include "platform/KeyCodes.h"

#include <QChar>
#include <QKeyEvent>
#include <cstring>

#include "platform/KeyboardLayoutX11.h"
#include "scene/DrawingComponent.h"

namespace bw {

namespace {

struct KeyPair {
    int qt;
    int windows;
};

// Keys whose code does not follow from a range.
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, 0x08},
    {Qt::Key_Tab, 0x09},
    {Qt::Key_Backtab, 0x09},
    {Qt::Key_Clear, 0x0C},
    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},
    {Qt::Key_Alt, 0x12},
    {Qt::Key_AltGr, 0x12},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},
    {Qt::Key_Select, 0x29},
    {Qt::Key_Printer, 0x2A},
    {Qt::Key_Execute, 0x2B},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},
    {Qt::Key_Help, 0x2F},
    {Qt::Key_Meta, 0x5B},
    {Qt::Key_Super_L, 0x5B},
    {Qt::Key_Super_R, 0x5C},
    {Qt::Key_Menu, 0x5D},
    {Qt::Key_Sleep, 0x5F},
    {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Back, 0xA6},
    {Qt::Key_Forward, 0xA7},
    {Qt::Key_Refresh, 0xA8},
    {Qt::Key_Stop, 0xA9},
    {Qt::Key_Search, 0xAA},
    {Qt::Key_Favorites, 0xAB},
    {Qt::Key_HomePage, 0xAC},
    {Qt::Key_VolumeMute, 0xAD},
    {Qt::Key_VolumeDown, 0xAE},
    {Qt::Key_VolumeUp, 0xAF},
    {Qt::Key_MediaNext, 0xB0},
    {Qt::Key_MediaPrevious, 0xB1},
    {Qt::Key_MediaStop, 0xB2},
    {Qt::Key_MediaPlay, 0xB3},
    {Qt::Key_MediaTogglePlayPause, 0xB3},
    {Qt::Key_LaunchMail, 0xB4},
    {Qt::Key_LaunchMedia, 0xB5},
    {Qt::Key_Launch0, 0xB6},
    {Qt::Key_Launch1, 0xB7},
    // Punctuation, and its shifted form on a US keyboard
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
    // Shifted digits
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};

// Keypad keys when Qt flags them with KeypadModifier.
constexpr KeyPair kKeypad[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},     {Qt::Key_Comma, 0x6C},
    {Qt::Key_Minus, 0x6D},    {Qt::Key_Period, 0x6E},   {Qt::Key_Slash, 0x6F},
    {Qt::Key_Enter, 0x0D},    {Qt::Key_Insert, 0x60},   {Qt::Key_End, 0x61},
    {Qt::Key_Down, 0x62},     {Qt::Key_PageDown, 0x63}, {Qt::Key_Left, 0x64},
    {Qt::Key_Clear, 0x65},    {Qt::Key_Right, 0x66},    {Qt::Key_Home, 0x67},
    {Qt::Key_Up, 0x68},       {Qt::Key_PageUp, 0x69},   {Qt::Key_Delete, 0x6E},
};

// The letters of a US keyboard by X keycode (evdev code + 8), row by row.
struct LetterRow {
    uint32_t firstKeycode;
    const char* letters;
};
constexpr LetterRow kLetterRows[] = {{24, "QWERTYUIOP"}, {38, "ASDFGHJKL"}, {52, "ZXCVBNM"}};

int letterAtPlace(uint32_t keycode) {
    for (const LetterRow& row : kLetterRows) {
        const auto length = uint32_t(std::strlen(row.letters));
        if (keycode >= row.firstKeycode && keycode < row.firstKeycode + length)
            return row.letters[keycode - row.firstKeycode];
    }
    return 0;
}

// A letter of a script other than Latin (Qt names such keys by their upper-case character).
bool isOtherScriptLetter(int qtKey) {
    if (qtKey <= 0x7F || qtKey > 0xFFFF) return false;
    const QChar character{char16_t(qtKey)};
    return character.isLetter() && character.script() != QChar::Script_Latin;
}

}  // namespace

int windowsKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 0x60 + (qtKey - Qt::Key_0);
        for (const KeyPair& key : kKeypad) {
            if (key.qt == qtKey) return key.windows;
        }
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + (qtKey - Qt::Key_F1);
    for (const KeyPair& key : kKeys) {
        if (key.qt == qtKey) return key.windows;
    }
    return 0;
}

int windowsKeyCode(int qtKey, Qt::KeyboardModifiers modifiers, uint32_t keycode,
                   uint32_t firstLayoutKeysym) {
    if (const int code = windowsKeyCode(qtKey, modifiers)) return code;
    // Keysyms of printable ASCII are the characters themselves, as are Qt's keys for them
    // (upper case for letters).
    if (firstLayoutKeysym > 0x20 && firstLayoutKeysym < 0x7F) {
        const int firstLayoutKey = QChar::toUpper(char32_t(firstLayoutKeysym));
        if (const int code = windowsKeyCode(firstLayoutKey, modifiers)) return code;
    }
    if (isOtherScriptLetter(qtKey)) return letterAtPlace(keycode);
    return 0;
}

int windowsKeyCode(const QKeyEvent& event) {
    const int code = windowsKeyCode(event.key(), event.modifiers());
    if (code != 0) return code;
    const uint32_t keycode = event.nativeScanCode();
    return windowsKeyCode(event.key(), event.modifiers(), keycode, firstLayoutKeysym(keycode));
}

int windowsButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return kLeftButton;
        case Qt::RightButton:
            return kRightButton;
        case Qt::MiddleButton:
            return kMiddleButton;
        default:
            return 0;
    }
}

int windowsButtons(Qt::MouseButtons buttons) {
    int result = 0;
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        if (buttons.testFlag(b)) result |= windowsButton(b);
    }
    return result;
}

}  // namespace bw
