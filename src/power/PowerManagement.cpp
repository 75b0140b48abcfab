#include "power/PowerManagement.h"

#include "settings/Settings.h"
#include "system/SystemLayer.h"

#include <algorithm>

namespace bw {

namespace {

constexpr struct {
    const char* text;
    int16_t seconds;
} kPowerTimes[] = {
    {"1 Minute", 60},     {"2 Minutes", 120},   {"3 Minutes", 180},   {"5 Minutes", 300},
    {"10 Minutes", 600},  {"15 Minutes", 900},  {"20 Minutes", 1200}, {"25 Minutes", 1500},
    {"30 Minutes", 1800}, {"45 Minutes", 2700}, {"1 hour", 3600},     {"2 hours", 7200},
    {"3 hours", 10800},   {"4 hours", 14400},   {"5 hours", 18000},   {"Never", 0},
};

// The saver stands aside this many seconds before the power-management time.
constexpr int kLeadSeconds = 45;

}  // namespace

PowerManagement::PowerManagement(const Settings& settings, SystemLayer& system)
    : settings_(settings), system_(system) {}

int16_t PowerManagement::seconds(const QString& timeText) {
    for (const auto& time : kPowerTimes)
        if (timeText == QLatin1String(time.text)) return time.seconds;
    return 0;
}

int16_t PowerManagement::combine(int16_t monitor, int16_t hardDisk, int16_t standby,
                                 int16_t hibernate) {
    int16_t earliest = 0;
    for (int16_t time : {monitor, hardDisk, hibernate, standby})
        if (time > 0 && (earliest == 0 || time < earliest)) earliest = time;
    return earliest;
}

void PowerManagement::startTimeBase() { startMs_ = system_.MonotonicMs(); }

void PowerManagement::readOptions() {
    powerManagement_ = settings_.integer(key::Power);
    monitor_ = settings_.text(key::Monitor);
    hardDisk_ = settings_.text(key::HardDsk);
    standby_ = settings_.text(key::Standby);
    hibernate_ = settings_.text(key::Hibernate);
}

void PowerManagement::PowerManage() {
    stepAsideTime_ =
        combine(seconds(monitor_), seconds(hardDisk_), seconds(standby_), seconds(hibernate_));
    if (stepAsideTime_ == 0) powerManagement_ = 0;
}

void PowerManagement::SSTimeFunc() { systemTimeout_ = std::max(0, system_.ScreenSaveTimeOutSeconds()); }

void PowerManagement::computeDelay() {
    stepAsideDelay_ = stepAsideTime_ - systemTimeout_ - kLeadSeconds;
}

bool PowerManagement::due() {
    if (powerManagement_ != 1) return false;
    const int64_t elapsedSeconds = (system_.MonotonicMs() - startMs_) / 1000;
    return elapsedSeconds >= stepAsideDelay_;
}

}  // namespace bw
