#pragma once

#include <Qt>
#include <cstdint>

class QKeyEvent;

namespace bw {

// Windows virtual-key code of a Qt key, as the saver's key handling expects it: letters as
// their upper-case character code, digits as '0'..'9', space 32, arrows 37..40, F1.. 112..,
// keypad keys as the numeric-pad codes when `modifiers` has Qt::KeypadModifier. Shifted
// punctuation reports the key it sits on (US layout). 0 for keys Windows has no code for.
int windowsKeyCode(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The same for a key of the keyboard in any layout. As on Windows, a letter key has its Latin
// letter's code whatever the active layout types (Cyrillic, Greek, Hebrew, Arabic): a key
// whose symbol has no code of its own takes the code of what the first layout puts on it
// (`firstLayoutKeysym`, 0 when unknown), and a letter of another script the letter at the
// key's place on a US keyboard (`keycode`, the X keycode of an evdev keyboard).
int windowsKeyCode(int qtKey, Qt::KeyboardModifiers modifiers, uint32_t keycode,
                   uint32_t firstLayoutKeysym);

// The code of a key event, asking the X server for the first layout's symbol when needed.
int windowsKeyCode(const QKeyEvent& event);

// The Windows number of a mouse button (kLeftButton...), 0 for one Windows has none for; and
// of the buttons held, added together.
int windowsButton(Qt::MouseButton button);
int windowsButtons(Qt::MouseButtons buttons);

}  // namespace bw
