#include "settings/Conversions.h"

#include <cmath>
#include <limits>

namespace bw {

namespace {

std::optional<double> textToNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    // Plain decimal only: no hexadecimal, no exponent, no "inf"/"nan".
    for (QChar c : trimmed) {
        if (!(c.isDigit() || c == u'.' || c == u'-' || c == u'+')) return std::nullopt;
    }
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

std::optional<int16_t> textToInt16(const QString& text) {
    const std::optional<double> value = textToNumber(text);
    if (!value) return std::nullopt;
    const double rounded = std::nearbyint(*value);  // the default mode rounds half to even
    if (rounded < std::numeric_limits<int16_t>::min() ||
        rounded > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(rounded);
}

std::optional<bool> textToBool(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.compare(u"True", Qt::CaseInsensitive) == 0) return true;
    if (trimmed.compare(u"False", Qt::CaseInsensitive) == 0) return false;
    const std::optional<double> value = textToNumber(trimmed);
    if (!value) return std::nullopt;
    return *value != 0.0;
}

}  // namespace bw
