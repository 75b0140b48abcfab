#pragma once

#include <QLocale>
#include <QString>
#include <QTime>

namespace bw {

// The locale's long time format (with seconds) without its time-zone name: "h:mm:ss AP t"
// becomes "h:mm:ss AP". The zone name would only read "UTC" or an abbreviation the user did
// not ask for; a clock on the screen and the times of a prompt are local times anyway.
QString timeFormatWithoutZone(const QString& format);

// A time of day as the system writes it: hours, minutes and seconds, no time zone. The
// default locale is the system's.
QString timeOfDayText(QTime time, const QLocale& locale = QLocale());

}  // namespace bw
