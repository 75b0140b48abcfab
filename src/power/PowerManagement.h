#pragma once

#include <QString>
#include <cstdint>

namespace bw {

class Settings;
class SystemLayer;

// The saver's own record of the power-management times: it steps aside shortly before the
// first of them would switch something off.
class PowerManagement {
public:
    PowerManagement(const Settings& settings, SystemLayer& system);

    // Load handler: the time base. Elapsed time comes from a clock that never jumps, so a run
    // across midnight or a clock change still steps aside on time.
    void startTimeBase();
    // Reads "Power", "Monitor", "HardDsk", "Standby" and "Hibernate".
    void readOptions();
    // Converts the four times; switches power management off when none applies.
    void PowerManage();
    // The system's own screen-saver timeout.
    void SSTimeFunc();
    // The step-aside delay after the saver's start.
    void computeDelay();
    // Never steps aside: the power times are another program's.
    void switchOff() { powerManagement_ = 0; }

    // Timer2, every second: true when the step-aside time has come.
    bool due();

    bool enabled() const { return powerManagement_ == 1; }
    int16_t stepAsideTime() const { return stepAsideTime_; }
    int32_t stepAsideDelay() const { return stepAsideDelay_; }
    int32_t systemTimeout() const { return systemTimeout_; }

    // A power time text ("20 Minutes", "1 hour", "Never") in seconds; 0 for any other text.
    static int16_t seconds(const QString& timeText);
    // The earliest of the four times that is set; 0 when none is.
    static int16_t combine(int16_t monitor, int16_t hardDisk, int16_t standby, int16_t hibernate);

private:
    const Settings& settings_;
    SystemLayer& system_;

    int16_t powerManagement_ = 0;
    QString monitor_, hardDisk_, standby_, hibernate_;
    int16_t stepAsideTime_ = 0;
    int32_t systemTimeout_ = 0;
    int32_t stepAsideDelay_ = 0;
    int64_t startMs_ = 0;
};

}  // namespace bw
