#include <gtest/gtest.h>

#include <QKeyEvent>

#include "platform/KeyCodes.h"
#include "fakes/QtApp.h"

namespace bw {
namespace {

TEST(KeyCodes, QtKeysBecomeWindowsVirtualKeys) {
    struct Case {
        int qt;
        Qt::KeyboardModifiers modifiers;
        int windows;
    };
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers pad = Qt::KeypadModifier;
    const Case cases[] = {
        {Qt::Key_A, none, 'A'},
        {Qt::Key_X, none, 88},
        {Qt::Key_Z, Qt::ShiftModifier, 90},
        {Qt::Key_S, none, 83},
        {Qt::Key_Q, none, 81},
        {Qt::Key_V, none, 86},
        {Qt::Key_B, none, 66},
        {Qt::Key_Space, none, 32},
        {Qt::Key_0, none, 48},
        {Qt::Key_9, none, 57},
        {Qt::Key_Exclam, Qt::ShiftModifier, '1'},
        {Qt::Key_Left, none, 37},
        {Qt::Key_Up, none, 38},
        {Qt::Key_Right, none, 39},
        {Qt::Key_Down, none, 40},
        {Qt::Key_F1, none, 112},
        {Qt::Key_F12, none, 123},
        {Qt::Key_F24, none, 135},
        {Qt::Key_Escape, none, 27},
        {Qt::Key_Return, none, 13},
        {Qt::Key_Enter, pad, 13},
        {Qt::Key_Backspace, none, 8},
        {Qt::Key_Tab, none, 9},
        {Qt::Key_Shift, none, 16},
        {Qt::Key_Control, none, 17},
        {Qt::Key_Alt, none, 18},
        {Qt::Key_Delete, none, 46},
        {Qt::Key_PageUp, none, 33},
        {Qt::Key_Home, none, 36},
        {Qt::Key_5, pad, 0x65},
        {Qt::Key_0, pad, 0x60},
        {Qt::Key_Plus, pad, 0x6B},
        {Qt::Key_Asterisk, pad, 0x6A},
        {Qt::Key_Left, pad, 0x64},
        {Qt::Key_Minus, none, 0xBD},
        {Qt::Key_Semicolon, none, 0xBA},
        {Qt::Key_Colon, Qt::ShiftModifier, 0xBA},
        {Qt::Key_Period, none, 0xBE},
        {Qt::Key_Slash, none, 0xBF},
        {Qt::Key_Meta, none, 0x5B},
        {Qt::Key_unknown, none, 0},
        {0, none, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(windowsKeyCode(c.qt, c.modifiers), c.windows) << std::hex << c.qt;
}

// X keycodes of a PC keyboard and keysyms, as the X server reports them.
constexpr uint32_t kKeycodeQ = 24, kKeycodeS = 39, kKeycodeSemicolon = 47, kKeycodeZ = 52,
                   kKeycodeX = 53, kKeycodeV = 55, kKeycodeB = 56, kKeycodeM = 58;
constexpr uint32_t kKeysymCyrillicChe = 0x6de, kKeysymOdiaeresis = 0xf6;

TEST(KeyCodes, LetterKeysKeepTheirLatinCodeInEveryLayout) {
    struct Case {
        const char* what;
        int qt;  // what Qt reports for the key in the active layout
        uint32_t keycode;
        uint32_t firstLayoutKeysym;
        int windows;
    };
    const Case cases[] = {
        // "us,ru" with the Russian layout active: the first layout names the key.
        {"Cyrillic CHE, first layout us", 0x427, kKeycodeX, 'x', 'X'},
        {"Cyrillic ZHE, first layout us", 0x416, kKeycodeSemicolon, ';', 0xBA},
        // Russian alone (or first): the key's place on the keyboard.
        {"Cyrillic CHE, first layout ru", 0x427, kKeycodeX, kKeysymCyrillicChe, 'X'},
        {"Cyrillic YA", 0x42F, kKeycodeZ, 0, 'Z'},
        {"Cyrillic YERU", 0x42B, kKeycodeS, 0, 'S'},
        {"Cyrillic SHORT I", 0x419, kKeycodeQ, 0, 'Q'},
        {"Cyrillic EM", 0x41C, kKeycodeV, 0, 'V'},
        {"Cyrillic I", 0x418, kKeycodeB, 0, 'B'},
        {"Greek CHI", 0x3A7, kKeycodeX, 0, 'X'},
        {"Hebrew SAMEKH", 0x5E1, kKeycodeX, 0, 'X'},
        {"Arabic HAMZA", 0x621, kKeycodeX, 0, 'X'},
        {"Cyrillic ZHE, not a letter's place", 0x416, kKeycodeSemicolon, 0, 0},
        // Latin layouts keep what the key types, as Windows does.
        {"AZERTY A on the Q key", Qt::Key_A, kKeycodeQ, 'a', 'A'},
        {"AZERTY comma on the M key", Qt::Key_Comma, kKeycodeM, ',', 0xBC},
        {"German O umlaut", 0xD6, kKeycodeSemicolon, kKeysymOdiaeresis, 0},
        {"Escape", Qt::Key_Escape, 9, 0xff1b, 27},
    };
    for (const Case& c : cases)
        EXPECT_EQ(windowsKeyCode(c.qt, Qt::NoModifier, c.keycode, c.firstLayoutKeysym), c.windows)
            << c.what;
}

TEST(KeyCodes, ARecordedCyrillicKeyPressIsTheXKey) {
    ensureQtApp();
    // The X key pressed with "us,ru" and the Russian layout active (group 2), as Qt delivers
    // it on X11: key and text are the Cyrillic letter, the keysym Cyrillic_che.
    const QKeyEvent press(QEvent::KeyPress, 0x427, Qt::NoModifier, kKeycodeX, kKeysymCyrillicChe,
                          0x2000, QStringLiteral("\u0447"));
    EXPECT_EQ(windowsKeyCode(press), 'X');
    const QKeyEvent release(QEvent::KeyRelease, 0x427, Qt::NoModifier, kKeycodeX,
                            kKeysymCyrillicChe, 0x2000, QStringLiteral("\u0447"));
    EXPECT_EQ(windowsKeyCode(release), 'X');
}

}  // namespace
}  // namespace bw
