#pragma once

#include <cstdint>

namespace bw {

// The keysym that the first keyboard layout (XKB group 1) puts on a key without modifiers, as
// the X server has it now: `keycode` is the X keycode (QKeyEvent::nativeScanCode). 0 when the
// key has none or the program does not run on X11.
uint32_t firstLayoutKeysym(uint32_t keycode);

}  // namespace bw
