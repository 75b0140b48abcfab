#pragma once

#include <QWidget>

#include "dialog/DialogControls.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace bw {

// The "Power Mgmt" tab: the saver's own power-management times, checked against the
// system's screen-saver delay.
class PowerTab : public QWidget {
    Q_OBJECT
  public:
    PowerTab(DialogContext& context, QWidget* parent);

    QCheckBox* chkPower;
    QLabel* lblSStime;
    QComboBox* cboMonitor;
    QComboBox* cboHD;
    QComboBox* cboStandy;
    QComboBox* cboHibernate;
    QPushButton* cmdSeePM;
    QPushButton* cmdPMHelp;

    // The system's screen-saver delay as "<minutes> Minutes".
    QString SSTime;
    void setSSTime(const QString& text);

    void chkPower_Click();
    void cboMonitor_Click();
    void cboHD_Click();
    void cboStandy_Click();
    void cboHibernate_Click();

    // Loading steps: the four times and the switch; the combos' state; the warnings.
    void loadTimes();
    void applyPowerSwitch();
    void warnAtLoad();

  private:
    void powerCombo_Click(QComboBox* combo, const SettingKey& key, const QString& warning);
    void warnWhenAtDelay(QComboBox* combo, const QString& warning);
    void enableCombos(bool enabled);

    DialogContext& c_;
};

// The system delay in seconds as the dialog shows it: minutes, fractions kept, + " Minutes".
QString ssTimeText(int seconds);

}  // namespace bw
