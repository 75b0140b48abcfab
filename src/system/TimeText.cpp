#include "system/TimeText.h"

namespace bw {

QString timeFormatWithoutZone(const QString& format) {
    QString kept;
    bool quoted = false;  // text between single quotes is literal, its 't' is a letter
    for (const QChar c : format) {
        if (c == u'\'') quoted = !quoted;
        if (!quoted && c == u't') continue;
        kept += c;
    }
    // What enclosed or led up to the zone name goes with it: "H:mm:ss (t)", "HH:mm:ss, t".
    kept.remove(QStringLiteral("()"));
    kept.remove(QStringLiteral("[]"));
    const auto isLeftOver = [](QChar c) { return c.isSpace() || c == u','; };
    qsizetype first = 0;
    qsizetype last = kept.size();
    while (first < last && isLeftOver(kept[first])) ++first;
    while (last > first && isLeftOver(kept[last - 1])) --last;
    return kept.mid(first, last - first).simplified();
}

QString timeOfDayText(QTime time, const QLocale& locale) {
    return locale.toString(time, timeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)));
}

}  // namespace bw
