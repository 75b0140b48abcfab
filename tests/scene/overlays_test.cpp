#include "LifeTestScene.h"
#include "scene/Overlays.h"
#include "fakes/ScopedLocale.h"
#include "system/TimeText.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <map>
#include <vector>

namespace bw::life {
namespace {

const QString kYellow = QString::number(rgb(255, 255, 0));
const QString kRed = QString::number(rgb(255, 0, 0));
const QString kBlue = QString::number(rgb(0, 0, 255));

struct Overlay : LifeTestScene {
    using LifeTestScene::LifeTestScene;
    Overlays overlays{scene, display, system, random};
};

TEST(Message, IsOneYellowLineAtTheTop) {
    Overlay tank;
    tank.scene.Message = QStringLiteral("Gone fishing, back at 3");
    tank.scene.FontSizeMsg = 22;
    tank.overlays.drawMessage();
    EXPECT_EQ(tank.display.log,
              (QStringList{"SetTextFont(Arial,22,1)",
                           "DrawText(Gone fishing, back at 3,100,1," + kYellow + ")"}));
}

struct CalendarCorner {
    int calPos;
    QPoint day, weekday, time, month;
    int sceneWidth = 800;  // wider: the corners are the wide screen's
};

class CalendarTexts : public testing::TestWithParam<CalendarCorner> {};

TEST_P(CalendarTexts, StandAtTheirCornerInTheSystemLanguage) {
    const CalendarCorner& row = GetParam();
    Overlay tank;
    tank.scene.CalPos = static_cast<int16_t>(row.calPos);
    tank.scene.span = SceneSpan::forWidth(row.sceneWidth);
    tank.system.setNow(QDateTime(QDate(2024, 3, 5), QTime(9, 7, 5)));
    tank.overlays.drawCalendar();

    const QLocale locale = QLocale::system();
    auto text = [](const QString& value, QPoint at, const QString& colour) {
        return QStringLiteral("DrawText(%1,%2,%3,%4)")
            .arg(value)
            .arg(at.x())
            .arg(at.y())
            .arg(colour);
    };
    const QStringList expected = {
        QStringLiteral("DrawSurface(%1)").arg(tank.scene.CalendarSurface),
        "SetTextFont(Arial,46,30)",
        text("5", row.day, kRed),
        "SetTextFont(Arial,12,30)",
        text(locale.standaloneDayName(2, QLocale::LongFormat), row.weekday, kRed),
        "SetTextFont(Arial,14,30)",
        text(timeOfDayText(QTime(9, 7, 5)), row.time, kBlue),
        "SetTextFont(Arial,16,30)",
        text(locale.standaloneMonthName(3, QLocale::ShortFormat), row.month, kRed),
    };
    EXPECT_EQ(tank.display.log, expected);
}

TEST(Calendar, TheClockShowsSecondsAndNoTimeZone) {
    const struct {
        QLocale locale;
        const char* clock;
    } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "DrawText(9:07:05 AM,9,18,"},
        {QLocale(QLocale::German, QLocale::Germany), "DrawText(09:07:05,9,18,"},
        {QLocale::c(), "DrawText(09:07:05,9,18,"},
    };
    for (const auto& c : cases) {
        const ScopedDefaultLocale locale(c.locale);
        Overlay tank;
        tank.scene.CalPos = 0;
        tank.system.setNow(QDateTime(QDate(2024, 3, 5), QTime(9, 7, 5)));
        tank.overlays.drawCalendar();
        const QStringList texts = tank.display.calls(QStringLiteral("DrawText"));
        ASSERT_EQ(texts.size(), 4);
        EXPECT_TRUE(withPlainSpaces(texts[2]).startsWith(QString::fromUtf8(c.clock)))
            << texts[2].toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Corners, CalendarTexts,
    testing::Values(CalendarCorner{0, {14, 36}, {10, 30}, {9, 18}, {27, 6}},
                    CalendarCorner{1, {14, 540}, {10, 534}, {9, 522}, {27, 510}},
                    CalendarCorner{2, {740, 36}, {735, 30}, {735, 18}, {752, 6}},
                    CalendarCorner{3, {740, 540}, {735, 534}, {732, 522}, {752, 510}},
                    // 1068 units: the layout's 0..800 and 134 beyond each side.
                    CalendarCorner{1, {-120, 540}, {-124, 534}, {-125, 522}, {-107, 510}, 1068},
                    CalendarCorner{2, {874, 36}, {869, 30}, {869, 18}, {886, 6}, 1068}));

TEST(Calendar, OutsideTheFourCornersTheSheetShowsWithoutTexts) {
    for (int calPos : {7, -1, 4}) {
        Overlay tank;
        tank.scene.CalPos = static_cast<int16_t>(calPos);
        tank.overlays.drawCalendar();
        EXPECT_EQ(tank.display.log,
                  QStringList{QStringLiteral("DrawSurface(%1)").arg(tank.scene.CalendarSurface)});
    }
}

TEST(Calendar, AtMidnightTheSheetShowsOneDay) {
    Overlay tank;
    // Every reading of the clock is 400 ms later, across midnight.
    tank.system.setNow(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 800)));
    tank.system.stepMs = 400;
    tank.overlays.drawCalendar();
    const QStringList texts = tank.display.calls(QStringLiteral("DrawText"));
    ASSERT_EQ(texts.size(), 4);
    const QLocale locale = QLocale::system();
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("DrawText(29,")));
    EXPECT_TRUE(texts[1].startsWith("DrawText(" + locale.standaloneDayName(4) + ","));
    EXPECT_TRUE(texts[3].startsWith("DrawText(" +
                                    locale.standaloneMonthName(2, QLocale::ShortFormat) + ","));
}

struct Bubbles : Overlay {
    Bubbles() {
        // Every bubble far below the screen, so that none re-enters unless a test puts it up.
        for (const auto* stream : {&scene.SmallBubbleSurface, &scene.MediumBubbleSurface})
            for (SurfaceId s : *stream) put(s, 55, 2000);
        for (SurfaceId s : scene.LargeBubbleSurface) put(s, 55, 2000);
    }
};

struct Reentry {
    const char* stream;
    int index;
    int xMin, xMax;
    int rise;
};

class BubbleReentry : public testing::TestWithParam<Reentry> {};

TEST_P(BubbleReentry, DrawnAboveTheTopReentersBelowInTheSameStep) {
    const Reentry& row = GetParam();
    Bubbles tank;
    const std::string stream = row.stream;
    const auto surfaceOf = [&](int index) {
        if (stream == "small") return tank.scene.SmallBubbleSurface[index];
        if (stream == "medium") return tank.scene.MediumBubbleSurface[index];
        return tank.scene.LargeBubbleSurface[index];
    };
    const SurfaceId atTop = surfaceOf(row.index);
    const SurfaceId justAbove = surfaceOf(row.index + 1);
    int lowestX = 1000, highestX = -1000;
    for (int round = 0; round < 300; ++round) {
        tank.put(atTop, 100, 0);
        tank.put(justAbove, 100, -1);
        tank.overlays.drawBubbles();
        // y 0 still rises once more; y -1 goes below the screen at once.
        EXPECT_EQ(tank.at(atTop).y, -row.rise);
        EXPECT_GE(tank.at(atTop).x, 99);
        EXPECT_LE(tank.at(atTop).x, 101);
        EXPECT_EQ(tank.at(justAbove).y, 601);
        lowestX = std::min<int>(lowestX, tank.at(justAbove).x);
        highestX = std::max<int>(highestX, tank.at(justAbove).x);
        tank.display.clearLog();
    }
    EXPECT_EQ(lowestX, row.xMin);
    EXPECT_EQ(highestX, row.xMax);
    tank.overlays.drawBubbles();
    EXPECT_EQ(tank.at(atTop).y, 601);
}

INSTANTIATE_TEST_SUITE_P(Streams, BubbleReentry,
                         testing::Values(Reentry{"small", 0, 50, 65, 2},
                                         Reentry{"medium", 148, 50, 65, 2},
                                         Reentry{"large", 40, 50, 60, 1}));

TEST(Bubbles, RiseAndWobbleEvenlyAroundTheirColumn) {
    Bubbles tank;
    for (SurfaceId s : tank.scene.LargeBubbleSurface) tank.put(s, 300, 590);
    std::map<int, int> wobbles;
    for (int step = 0; step < 100; ++step) {
        std::vector<int> xs;
        for (SurfaceId s : tank.scene.LargeBubbleSurface) xs.push_back(tank.at(s).x);
        tank.overlays.drawBubbles();
        for (std::size_t i = 0; i < xs.size(); ++i)
            ++wobbles[tank.at(tank.scene.LargeBubbleSurface[i]).x - xs[i]];
        tank.display.clearLog();
    }
    EXPECT_EQ(tank.at(tank.scene.LargeBubbleSurface[0]).y, 490);
    EXPECT_EQ(tank.at(tank.scene.SmallBubbleSurface[0]).y, 1800);
    ASSERT_EQ(wobbles.size(), 3u);
    for (int dx : {-1, 0, 1}) {
        EXPECT_GT(wobbles[dx], 3000) << dx;  // a third of 10000 each
        EXPECT_LT(wobbles[dx], 3700) << dx;
    }
}

TEST(Bubbles, StreamsThenCurtainsInOrder) {
    Bubbles tank;
    tank.overlays.drawBubbles();
    QStringList drawn = tank.display.calls(QStringLiteral("DrawSurface"));
    QStringList expected;
    for (SurfaceId s : tank.scene.SmallBubbleSurface) expected << QString("DrawSurface(%1)").arg(s);
    for (SurfaceId s : tank.scene.MediumBubbleSurface)
        expected << QString("DrawSurface(%1)").arg(s);
    for (SurfaceId s : tank.scene.LargeBubbleSurface) expected << QString("DrawSurface(%1)").arg(s);
    for (SurfaceId s : tank.scene.CurtainSurface) expected << QString("DrawSurface(%1)").arg(s);
    EXPECT_EQ(drawn, expected);
}

TEST(Curtains, ScrollFromBelowToAboveAndStartAgain) {
    Bubbles tank;
    const SurfaceId first = tank.scene.CurtainSurface[0];
    const SurfaceId second = tank.scene.CurtainSurface[1];
    ASSERT_EQ(tank.at(first).y, 400);
    ASSERT_EQ(tank.at(second).y, 1000);
    int lowest = 1000, highest = -1000;
    for (int step = 0; step < 1200; ++step) {
        tank.overlays.drawBubbles();
        lowest = std::min<int>(lowest, tank.at(first).y);
        highest = std::max<int>(highest, tank.at(first).y);
        // Always 600 apart, so one of them is on the screen.
        EXPECT_EQ(std::abs(tank.at(first).y - tank.at(second).y), 600) << step;
        tank.display.clearLog();
    }
    EXPECT_EQ(lowest, -600);
    EXPECT_EQ(highest, 599);
    EXPECT_EQ(tank.at(first).y, 400);  // a full cycle of 1200 renders
    EXPECT_EQ(tank.at(second).y, -200);

    tank.put(first, 0, -599);
    tank.overlays.drawBubbles();
    EXPECT_EQ(tank.at(first).y, -600);
    tank.overlays.drawBubbles();
    EXPECT_EQ(tank.at(first).y, 599);
}

const QString kCountdown = QStringLiteral(
    "This graphic will disappear in: %1 seconds - This is the only time these will be displayed");

QStringList notice(int number, int countdown, SurfaceId surface) {
    return {"SetTextFont(Arial,16,1)",
            QStringLiteral("DrawText(%1 of 3 Messages: Please let them finish displaying or they "
                           "will return,151,40,%2)")
                .arg(number)
                .arg(kYellow),
            "SetTextFont(Arial,16,1)",
            QStringLiteral("DrawText(%1,151,55,%2)").arg(kCountdown.arg(countdown), kYellow),
            QStringLiteral("DrawSurface(%1)").arg(surface)};
}

void setFlags(MemorySettingsStore& store, bool tune, bool monitor, bool power) {
    auto value = [](bool flag) { return flag ? QStringLiteral("True") : QStringLiteral("False"); };
    store.write("Artifacts", "TuneScrSvr", value(tune));
    store.write("Artifacts", "RunMonitor", value(monitor));
    store.write("Artifacts", "PwrMsg", value(power));
}

TEST(FirstRunMessages, TheFirstOnShowWithItsCountdown) {
    Overlay tank([](MemorySettingsStore& store) { setFlags(store, false, false, false); });
    tank.scene.firstRunCountdown = 30;
    tank.overlays.drawFirstRunMessages();
    EXPECT_EQ(tank.display.log, notice(1, 30, tank.scene.TuneNoticeSurface));
}

TEST(FirstRunMessages, MessageTwoCountsDownFromItsFirstTick) {
    Overlay tank([](MemorySettingsStore& store) { setFlags(store, true, false, false); });
    ASSERT_EQ(tank.scene.TuneNoticeSurface, 0);
    tank.overlays.drawFirstRunMessages();
    EXPECT_EQ(tank.display.log, notice(2, 0, tank.scene.MonitorNoticeSurface));
    // What the first-run timer leaves in the countdown after each of its ticks.
    for (int tick = 1; tick <= 3; ++tick) {
        tank.scene.firstRunCountdown = static_cast<int16_t>(60 - tick);
        tank.display.clearLog();
        tank.overlays.drawFirstRunMessages();
        EXPECT_EQ(tank.display.log, notice(2, 60 - tick, tank.scene.MonitorNoticeSurface));
    }
}

TEST(FirstRunMessages, MessageThreeAfterTheOtherTwo) {
    Overlay tank([](MemorySettingsStore& store) { setFlags(store, true, true, false); });
    tank.scene.firstRunCountdown = 12;
    tank.overlays.drawFirstRunMessages();
    EXPECT_EQ(tank.display.log, notice(3, 12, tank.scene.PowerNoticeSurface));
}

TEST(FirstRunMessages, NoneOnceAllWereShown) {
    Overlay tank([](MemorySettingsStore& store) { setFlags(store, true, true, true); });
    tank.overlays.drawFirstRunMessages();
    EXPECT_TRUE(tank.display.log.isEmpty());
}

TEST(FirstRunMessages, NeverTwoAtOnce) {
    // A store edited by hand may have the second one done but not the first.
    Overlay tank([](MemorySettingsStore& store) { setFlags(store, false, true, false); });
    tank.overlays.drawFirstRunMessages();
    EXPECT_EQ(tank.display.log, notice(1, 0, tank.scene.TuneNoticeSurface));
}

}  // namespace
}  // namespace bw::life
