#include "scene/Overlays.h"

#include "scene/SceneState.h"
#include "scene/SceneText.h"
#include "system/Random.h"
#include "system/SystemLayer.h"
#include "system/TimeText.h"

#include <QDateTime>
#include <QLocale>
#include <QPoint>

namespace bw {

namespace {

// Re-entry below the screen, and where the bubble columns rise.
constexpr int16_t kBelowScreen = 601;
constexpr int kColumnLeft = 50;
// A curtain scrolls from 600 up to -600, then starts again.
constexpr int16_t kCurtainTop = -599;
constexpr int16_t kCurtainStart = 600;

// Where the calendar's texts go, for each corner of the sheet (CalPos 0 to 3).
struct CalendarLayout {
    QPoint day, weekday, time, month;
};
const CalendarLayout kCalendarLayouts[4] = {
    {{14, 36}, {10, 30}, {9, 18}, {27, 6}},
    {{14, 540}, {10, 534}, {9, 522}, {27, 510}},
    {{740, 36}, {735, 30}, {735, 18}, {752, 6}},
    {{740, 540}, {735, 534}, {732, 522}, {752, 510}},
};

}  // namespace

Overlays::Overlays(SceneState& scene, DrawingComponent& display, SystemLayer& system,
                   Random& random)
    : scene_(scene), display_(display), system_(system), random_(random) {}

void Overlays::drawMessage() {
    display_.SetTextFont(kArial, scene_.FontSizeMsg, 1, false, false, false);
    display_.DrawText(scene_.Message, 100, 1, kYellow);
}

void Overlays::drawCalendar() {
    display_.DrawSurface(scene_.CalendarSurface);
    if (scene_.CalPos < 0 || scene_.CalPos > 3) return;

    // One reading of the clock for all texts, so that the sheet never mixes two days.
    const QDateTime now = system_.Now();
    const QDate date = now.date();
    const QLocale locale;  // the system's
    const CalendarLayout& at = kCalendarLayouts[scene_.CalPos];

    const int shift = scene_.calendarShift();
    auto text = [this, shift](const QString& value, int size, QPoint where, Rgb colour) {
        display_.SetTextFont(kArial, size, 30, false, false, false);
        display_.DrawText(value, shift + where.x(), where.y(), colour);
    };
    text(QString::number(date.day()), 46, at.day, kRed);
    text(locale.standaloneDayName(date.dayOfWeek(), QLocale::LongFormat), 12, at.weekday, kRed);
    text(timeOfDayText(now.time(), locale), 14, at.time, kBlue);
    text(locale.standaloneMonthName(date.month(), QLocale::ShortFormat), 16, at.month, kRed);
}

template <std::size_t N>
void Overlays::riseStream(const std::array<SurfaceId, N>& bubbles, int16_t rise,
                          int reentrySpread) {
    for (const SurfaceId bubble : bubbles) {
        display_.DrawSurface(bubble);
        const int16_t y = display_.GetSurfaceY(bubble);
        display_.MoveSurfaceUp(bubble, rise);
        // Wobble: left and right equally often, so the column stays where it is.
        switch (random_.next(6, 0)) {
            case 0:
            case 2:
                display_.MoveSurfaceX(bubble, 1);
                break;
            case 1:
            case 3:
                display_.MoveSurfaceX(bubble, -1);
                break;
            default:
                break;
        }
        if (y < 0) {
            display_.SetSurfaceX(bubble,
                                 static_cast<int16_t>(random_.next(reentrySpread, kColumnLeft)));
            display_.SetSurfaceY(bubble, kBelowScreen);
        }
    }
}

void Overlays::drawBubbles() {
    riseStream(scene_.SmallBubbleSurface, 2, 16);
    riseStream(scene_.MediumBubbleSurface, 2, 16);
    riseStream(scene_.LargeBubbleSurface, 1, 11);

    const auto& curtains = scene_.CurtainSurface;
    std::array<int16_t, 2> y{};
    for (int i = 0; i < 2; ++i) y[i] = display_.GetSurfaceY(curtains[i]);
    for (int i = 0; i < 2; ++i)
        if (y[i] < kCurtainTop) display_.SetSurfaceY(curtains[i], kCurtainStart);
    for (int i = 0; i < 2; ++i) display_.MoveSurfaceUp(curtains[i], 1);
    for (int i = 0; i < 2; ++i) display_.DrawSurface(curtains[i]);
}

void Overlays::drawFirstRunMessages() {
    // The notices come one after another; only the first one not yet shown in full is drawn.
    if (!scene_.TuneScrSvr)
        drawNotice(QStringLiteral("1 of 3 Messages: Please let them finish displaying or they "
                                  "will return"),
                   scene_.TuneNoticeSurface);
    else if (!scene_.RunMonitor)
        drawNotice(QStringLiteral("2 of 3 Messages: Please let them finish displaying or they "
                                  "will return"),
                   scene_.MonitorNoticeSurface);
    else if (!scene_.PwrMsg)
        drawNotice(QStringLiteral("3 of 3 Messages: Please let them finish displaying or they "
                                  "will return"),
                   scene_.PowerNoticeSurface);
}

void Overlays::drawNotice(const QString& line, SurfaceId notice) {
    display_.SetTextFont(kArial, 16, 1, false, false, false);
    display_.DrawText(line, 151, 40, kYellow);
    display_.SetTextFont(kArial, 16, 1, false, false, false);
    display_.DrawText(QStringLiteral("This graphic will disappear in: %1 seconds - This is the "
                                     "only time these will be displayed")
                          .arg(scene_.firstRunCountdown),
                      151, 55, kYellow);
    display_.DrawSurface(notice);
}

}  // namespace bw
