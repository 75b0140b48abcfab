#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include "platform/wayland/KeysymKeys.h"

namespace bw {
namespace {

// xkb keycodes (evdev + 8) of a PC keyboard.
constexpr uint32_t kEsc = 9, kOne = 10, kReturn = 36, kA = 38, kSemicolon = 47, kShiftL = 50,
                   kZ = 52, kSpace = 65, kF1 = 67, kKp7 = 79, kKp5 = 84, kKpDecimal = 91, kF12 = 96,
                   kKpEnter = 104, kLeft = 113;

TEST(KeysymKeys, KeysymsBecomeQtKeysAndWindowsVirtualKeys) {
    struct Case {
        const char* what;
        uint32_t keysym;
        uint32_t keycode;
        uint32_t firstLayoutKeysym;
        int qt;
        int windows;
    };
    const Case cases[] = {
        {"a", XKB_KEY_a, kA, 0, Qt::Key_A, 'A'},
        {"A", XKB_KEY_A, kA, XKB_KEY_a, Qt::Key_A, 'A'},
        {"1", XKB_KEY_1, kOne, XKB_KEY_1, Qt::Key_1, '1'},
        {"shifted 1", XKB_KEY_exclam, kOne, XKB_KEY_1, Qt::Key_Exclam, '1'},
        {"Arabic-Indic one", XKB_KEY_Arabic_1, kOne, 0, Qt::Key_1, '1'},
        {"Escape", XKB_KEY_Escape, kEsc, 0, Qt::Key_Escape, 0x1B},
        {"Return", XKB_KEY_Return, kReturn, 0, Qt::Key_Return, 0x0D},
        {"keypad Enter", XKB_KEY_KP_Enter, kKpEnter, 0, Qt::Key_Enter, 0x0D},
        {"keypad 5", XKB_KEY_KP_5, kKp5, 0, Qt::Key_5, 0x65},
        {"keypad Home, Num Lock off", XKB_KEY_KP_Home, kKp7, 0, Qt::Key_Home, 0x67},
        {"keypad decimal", XKB_KEY_KP_Decimal, kKpDecimal, 0, Qt::Key_Period, 0x6E},
        {"F1", XKB_KEY_F1, kF1, 0, Qt::Key_F1, 0x70},
        {"F12", XKB_KEY_F12, kF12, 0, Qt::Key_F12, 0x7B},
        {"Left", XKB_KEY_Left, kLeft, 0, Qt::Key_Left, 0x25},
        {"space", XKB_KEY_space, kSpace, 0, Qt::Key_Space, 0x20},
        {"Shift_L", XKB_KEY_Shift_L, kShiftL, 0, Qt::Key_Shift, 0x10},
        {"Cyrillic ya on the Z key", XKB_KEY_Cyrillic_ya, kZ, 0, 0x42F, 'Z'},
        {"Greek alpha on the A key", XKB_KEY_Greek_alpha, kA, 0, 0x391, 'A'},
        {"German o umlaut, first layout us", XKB_KEY_odiaeresis, kSemicolon, XKB_KEY_semicolon,
         Qt::Key_Odiaeresis, 0xBA},
        {"German o umlaut alone", XKB_KEY_odiaeresis, kSemicolon, XKB_KEY_odiaeresis,
         Qt::Key_Odiaeresis, 0},
        {"no symbol", XKB_KEY_NoSymbol, kA, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Qt::KeyboardModifiers modifiers;
        EXPECT_EQ(qtKeyForKeysym(c.keysym, &modifiers), c.qt) << c.what;
        EXPECT_EQ(windowsKeyCodeForKeysym(c.keysym, c.keycode, c.firstLayoutKeysym), c.windows)
            << c.what;
    }
}

}  // namespace
}  // namespace bw
