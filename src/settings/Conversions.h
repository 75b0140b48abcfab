#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace bw {

// Stored text to a 16-bit integer the way the readers always did: blanks around the number
// are ignored, a fraction is rounded half to even ("2.5" -> 2, "3.5" -> 4). Empty when the
// text is no number or the result lies outside the 16-bit range.
std::optional<int16_t> textToInt16(const QString& text);

// Stored text to a truth value: "True"/"False" in any letter case, or a number (non-zero is
// true). Empty for anything else.
std::optional<bool> textToBool(const QString& text);

}  // namespace bw
