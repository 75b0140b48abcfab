#include "app/RunMode.h"

namespace bw {

namespace {

// A whole number after optional leading blanks: decimal digits, or 0x and hex digits.
bool parseNumber(QString text, uint64_t* value) {
    while (text.startsWith(u' ')) text.remove(0, 1);
    const bool hex = text.startsWith(u"0x", Qt::CaseInsensitive);
    const QString digits = hex ? text.mid(2) : text;
    if (digits.isEmpty()) return false;
    for (QChar c : digits) {
        const bool decimal = c >= u'0' && c <= u'9';
        const bool hexLetter = c.toLower() >= u'a' && c.toLower() <= u'f';
        if (!(decimal || (hex && hexLetter))) return false;
    }
    bool ok = false;
    *value = digits.toULongLong(&ok, hex ? 16 : 10);
    return ok;
}

}  // namespace

uint64_t previewWindowFromArgument(const QString& argument) {
    for (qsizetype n = argument.size(); n >= 1; --n) {
        uint64_t value = 0;
        if (parseNumber(argument.right(n), &value)) return value;
    }
    return 0;
}

StartRequest parseStartArgument(const QString& argument) {
    StartRequest request;
    const QString normalized = argument.trimmed().toLower();
    request.selector = normalized.left(2);
    if (request.selector.isEmpty() || request.selector == u"/s") {
        request.mode = RunMode::Saver;
    } else if (request.selector == u"/p") {
        request.mode = RunMode::Preview;
        request.previewWindow = previewWindowFromArgument(normalized);
    } else if (request.selector == u"/c") {
        request.mode = RunMode::Configure;
    } else if (request.selector == u"/a") {
        request.mode = RunMode::ChangePassword;
    }
    return request;
}

bool refuseSecondSaver(const StartRequest& request, bool displayPropertiesOpen,
                       bool previousInstanceRunning) {
    return request.selector == u"/s" && !displayPropertiesOpen && previousInstanceRunning;
}

}  // namespace bw
