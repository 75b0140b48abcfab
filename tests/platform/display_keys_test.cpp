#include <gtest/gtest.h>

#include "platform/KeyCodes.h"

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

}  // namespace
}  // namespace bw
