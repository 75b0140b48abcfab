#pragma once

#include <Qt>
#include <cstdint>

namespace bw {

// The Qt key Qt's xcb and Wayland platforms report for an xkb keysym, without the keyboard's
// state: letters by their upper-case character in any script, keypad keysyms with
// Qt::KeypadModifier added to `*modifiers`. 0 for a keysym Qt has no key for.
int qtKeyForKeysym(uint32_t keysym, Qt::KeyboardModifiers* modifiers);

// Windows virtual-key code of a keysym from a Wayland keyboard: `xkbKeycode` is the evdev code
// + 8 (the X keycode), `firstLayoutKeysym` what the keymap's first layout puts on that key
// (0 when unknown). See windowsKeyCode() in KeyCodes.h.
int windowsKeyCodeForKeysym(uint32_t keysym, uint32_t xkbKeycode, uint32_t firstLayoutKeysym);

}  // namespace bw
