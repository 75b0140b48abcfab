#pragma once

#include <QLocale>
#include <QString>

namespace bw {

// Sets the default locale, which the program's texts follow (it is the system's unless a test
// sets another), for the life of the object.
class ScopedDefaultLocale {
  public:
    explicit ScopedDefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~ScopedDefaultLocale() { QLocale::setDefault(previous_); }
    ScopedDefaultLocale(const ScopedDefaultLocale&) = delete;
    ScopedDefaultLocale& operator=(const ScopedDefaultLocale&) = delete;

  private:
    QLocale previous_;
};

// Qt's locale data puts a narrow no-break space before "AM" and "PM"; tests compare with
// plain spaces.
inline QString withPlainSpaces(QString text) {
    text.replace(QChar(0x202F), u' ');
    text.replace(QChar(QChar::Nbsp), u' ');
    return text;
}

}  // namespace bw
