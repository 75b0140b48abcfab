#include <gtest/gtest.h>

#include "fakes/ScopedLocale.h"
#include "system/TimeText.h"

namespace bw {
namespace {

TEST(TimeText, TheZoneNameLeavesTheLongFormatWithWhatSurroundedIt) {
    const struct {
        const char* format;
        const char* without;
    } cases[] = {
        {"h:mm:ss AP t", "h:mm:ss AP"},
        {"HH:mm:ss t", "HH:mm:ss"},
        {"H:mm:ss (t)", "H:mm:ss"},
        {"APh:mm:ss [t]", "APh:mm:ss"},
        {"HH:mm:ss, t", "HH:mm:ss"},
        {"t APh:mm:ss", "APh:mm:ss"},
        {"tttt HH:mm:ss", "HH:mm:ss"},
        // Quoted text is literal: its letters stay, and so does the quote.
        {"'kl'. HH:mm:ss t", "'kl'. HH:mm:ss"},
        {"H 'h' mm 'min' ss 's' t", "H 'h' mm 'min' ss 's'"},
        {"'at' HH:mm:ss", "'at' HH:mm:ss"},
        {"HH:mm:ss", "HH:mm:ss"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(timeFormatWithoutZone(QString::fromUtf8(c.format)), QString::fromUtf8(c.without))
            << c.format;
}

TEST(TimeText, HasSecondsAndNoZoneInEveryLanguage) {
    const struct {
        const char* locale;
        const char* text;
    } cases[] = {
        {"en_US", "2:03:09 PM"},
        {"de_DE", "14:03:09"},
        {"ca_ES", "14:03:09"},
        {"C", "14:03:09"},
    };
    for (const auto& c : cases) {
        const QString text = timeOfDayText(QTime(14, 3, 9), QLocale(QString::fromUtf8(c.locale)));
        EXPECT_EQ(withPlainSpaces(text), QString::fromUtf8(c.text)) << c.locale;
    }
}

}  // namespace
}  // namespace bw
