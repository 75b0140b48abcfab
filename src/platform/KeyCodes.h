#pragma once

#include <Qt>

namespace bw {

// Windows virtual-key code of a Qt key, as the saver's key handling expects it: letters as
// their upper-case character code, digits as '0'..'9', space 32, arrows 37..40, F1.. 112..,
// keypad keys as the numeric-pad codes when `modifiers` has Qt::KeypadModifier. Shifted
// punctuation reports the key it sits on (US layout). 0 for keys Windows has no code for.
int windowsKeyCode(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace bw
