#include "fakes/FakeSystemLayer.h"
#include "fakes/MemorySettingsStore.h"
#include "fakes/QtApp.h"
#include "power/PM.h"
#include "power/PowerManagement.h"
#include "settings/Settings.h"

#include <QLabel>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace bw {
namespace {

TEST(PowerTimes, TextsConvertExactly) {
    const struct {
        const char* text;
        int seconds;
    } cases[] = {{"1 Minute", 60},    {"2 Minutes", 120},  {"25 Minutes", 1500}, {"45 Minutes", 2700},
                 {"1 hour", 3600},    {"5 hours", 18000},  {"Never", 0},         {"1 Hour", 0},
                 {"10 minutes", 0},   {"", 0},             {"6 hours", 0}};
    for (const auto& c : cases) EXPECT_EQ(PowerManagement::seconds(c.text), c.seconds) << c.text;
}

struct PowerRig {
    PowerRig(const char* monitor, const char* hardDisk, const char* standby, const char* hibernate,
             int systemTimeout) {
        Settings writer(store, Reader::Saver);
        writer.write(key::Power, "1");
        writer.write(key::Monitor, monitor);
        writer.write(key::HardDsk, hardDisk);
        writer.write(key::Standby, standby);
        writer.write(key::Hibernate, hibernate);
        system.setScreenSaveTimeOut(systemTimeout);
        power.startTimeBase();
        power.readOptions();
        if (power.enabled()) power.PowerManage();
        if (power.enabled()) power.SSTimeFunc();
        if (power.enabled()) power.computeDelay();
    }
    MemorySettingsStore store;
    Settings settings{store, Reader::Saver};
    FakeSystemLayer system;
    PowerManagement power{settings, system};
};

TEST(PowerManagement, StepAsideTimes) {
    PowerRig monitorOnly("20 Minutes", "Never", "Never", "Never", 600);
    EXPECT_TRUE(monitorOnly.power.enabled());
    EXPECT_EQ(monitorOnly.power.stepAsideDelay(), 555);

    PowerRig withStandby("20 Minutes", "Never", "10 Minutes", "Never", 0);
    EXPECT_EQ(withStandby.power.stepAsideTime(), 600);

    PowerRig never("Never", "Never", "Never", "Never", 600);
    EXPECT_FALSE(never.power.enabled());
    never.system.advanceMs(100'000'000);
    EXPECT_FALSE(never.power.due());

    // The disks going to sleep before the monitor still counts.
    PowerRig disksFirst("20 Minutes", "10 Minutes", "Never", "Never", 0);
    EXPECT_EQ(disksFirst.power.stepAsideTime(), 600);
    PowerRig disksOnly("Never", "15 Minutes", "Never", "Never", 0);
    EXPECT_EQ(disksOnly.power.stepAsideTime(), 900);
}

TEST(PowerManagement, DueAfterTheDelayEvenAcrossMidnight) {
    PowerRig rig("15 Minutes", "Never", "Never", "Never", 0);
    // Started at 23:55; the wall clock passes midnight, the elapsed time does not care.
    rig.system.setNow(QDateTime(QDate(2026, 12, 8), QTime(23, 55)));
    const int delay = rig.power.stepAsideDelay();
    ASSERT_EQ(delay, 855);
    for (int second = 1; second < delay; ++second) {
        rig.system.advanceMs(1000);
        ASSERT_FALSE(rig.power.due()) << "second " << second;
    }
    rig.system.advanceMs(1000);
    EXPECT_TRUE(rig.power.due());
}

TEST(PowerNotice, TextsChangeAfterSixtyTicksAndAnyMovementEnds) {
    ensureQtApp();
    FakeSystemLayer system;
    PM notice(system);
    notice.show();
    EXPECT_TRUE(system.ScreenSaverRunning());
    const QString first = notice.Label1->text();
    EXPECT_EQ(first, "Power Management is set to come on shortly.");
    for (int tick = 1; tick <= 60; ++tick) notice.Timer1_Timer();
    EXPECT_EQ(notice.Label1->text(), first);
    notice.Timer1_Timer();
    EXPECT_EQ(notice.Label1->text(), "Power Management was activated");
    EXPECT_EQ(notice.Label2->text(), "Simply move the mouse or hit a key to return to your work");

    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&notice, &move);
    EXPECT_FALSE(notice.isVisible());
    EXPECT_EQ(notice.result(), QDialog::Accepted);
    EXPECT_FALSE(system.ScreenSaverRunning());
}

}  // namespace
}  // namespace bw
