#include "dialog/PowerTab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "system/SystemLayer.h"

namespace bw {

namespace {

QString warningFor(const char* device) {
    return QStringLiteral(
               "You have your screensaver set to come on exactly when the %1 is set to "
               "shut off. Please change one of them.")
        .arg(QLatin1String(device));
}

const QString kNever = QStringLiteral("Never");

}  // namespace

QString ssTimeText(int seconds) {
    // 15 significant digits: 100 seconds read "1.66666666666667 Minutes".
    return QString::number(seconds / 60.0, 'g', 15) + QStringLiteral(" Minutes");
}

PowerTab::PowerTab(DialogContext& context, QWidget* parent) : QWidget(parent), c_(context) {
    auto* frame = new QGroupBox(QStringLiteral("Power Management Users"), this);
    chkPower = new QCheckBox(frame);
    connect(chkPower, &QCheckBox::toggled, this, [this] { chkPower_Click(); });
    auto* question = note(QStringLiteral("Do you use Power Management? (i.e.: You have your "
                                         "monitor set to shut off after a certain period of time)"),
                          frame);
    lblSStime = new QLabel(frame);
    QFont bold = lblSStime->font();
    bold.setBold(true);
    lblSStime->setFont(bold);

    cboMonitor = choiceCombo(powerTimes(false), QStringLiteral("Monitor"), frame);
    cboHD = choiceCombo(powerTimes(true), QStringLiteral("Hard Disk"), frame);
    cboStandy = choiceCombo(powerTimes(false), QStringLiteral("Standby"), frame);
    cboHibernate = choiceCombo(powerTimes(false), QStringLiteral("Hibernate"), frame);
    connect(cboMonitor, &QComboBox::activated, this, [this] { cboMonitor_Click(); });
    connect(cboHD, &QComboBox::activated, this, [this] { cboHD_Click(); });
    connect(cboStandy, &QComboBox::activated, this, [this] { cboStandy_Click(); });
    connect(cboHibernate, &QComboBox::activated, this, [this] { cboHibernate_Click(); });

    cmdSeePM = new QPushButton(QStringLiteral("&Set Power Management"), this);
    cmdPMHelp = new QPushButton(QStringLiteral("Power Management HEL&P"), this);

    auto* switchRow = new QGridLayout;
    switchRow->addWidget(chkPower, 0, 0, Qt::AlignTop);
    switchRow->addWidget(question, 0, 1, Qt::AlignTop);
    switchRow->setColumnStretch(1, 1);
    auto* delayRow = new QHBoxLayout;
    delayRow->addWidget(new QLabel(QStringLiteral("Time to start screen saver:"), frame));
    delayRow->addWidget(lblSStime);
    delayRow->addStretch();
    auto* times = new QGridLayout;
    int row = 0;
    for (auto [caption, combo] :
         {std::pair{"Monitor:", cboMonitor}, std::pair{"Hard Disk:", cboHD},
          std::pair{"Standby:", cboStandy}, std::pair{"Hibernate:", cboHibernate}}) {
        auto* label = new QLabel(QString::fromLatin1(caption), frame);
        label->setBuddy(combo);
        times->addWidget(label, row, 0);
        combo->setMinimumContentsLength(11);
        times->addWidget(combo, row, 1);
        ++row;
    }
    times->setColumnStretch(2, 1);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addLayout(switchRow);
    frameLayout->addSpacing(8);
    frameLayout->addLayout(delayRow);
    frameLayout->addSpacing(8);
    frameLayout->addLayout(times);
    frameLayout->addSpacing(8);
    frameLayout->addWidget(note(QStringLiteral("If you want your computer to continue shutting "
                                               "down you must set these values"),
                                frame));
    frameLayout->addStretch();

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdSeePM);
    buttons->addWidget(cmdPMHelp);
    buttons->addWidget(
        note(QStringLiteral("While the screensaver runs it draws the whole screen itself, so "
                            "the system's own energy saving cannot switch off the monitor, the "
                            "disks or the computer. Enter the times your system uses here: the "
                            "screensaver then steps aside shortly before each of them, so the "
                            "system can switch the devices off."),
             this));
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(frame, 3);
    layout->addLayout(buttons, 2);
}

void PowerTab::setSSTime(const QString& text) {
    SSTime = text;
    lblSStime->setText(text);
}

void PowerTab::enableCombos(bool enabled) {
    for (QComboBox* combo : {cboMonitor, cboHD, cboHibernate, cboStandy})
        combo->setEnabled(enabled);
}

void PowerTab::chkPower_Click() {
    c_.settings.writeCheck(key::Power, chkPower->isChecked());
    enableCombos(chkPower->isChecked());
}

void PowerTab::powerCombo_Click(QComboBox* combo, const SettingKey& key, const QString& warning) {
    const QString text = combo->currentText();
    warnWhenAtDelay(combo, warning);
    c_.settings.write(key, text);
    if (cboMonitor->currentText() == kNever && cboHD->currentText() == kNever &&
        cboStandy->currentText() == kNever && cboHibernate->currentText() == kNever) {
        chkPower->setChecked(false);
        c_.settings.writeCheck(key::Power, false);
    }
    if (text == u"1 Minute" || text == u"2 Minutes" || text == u"3 Minutes") {
        c_.system.MessageBox(QStringLiteral("Why would you use a screensaver for only ") + text +
                                 QStringLiteral(". If you want to use Power Management set it to "
                                                "at least 5 minutes"),
                             QStringLiteral("WHY?"), MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

void PowerTab::warnWhenAtDelay(QComboBox* combo, const QString& warning) {
    if (chkPower->isChecked() && combo->currentText() == SSTime)
        c_.system.MessageBox(warning, QStringLiteral("WARNING!"), MessageIcon::Exclamation,
                             MessageButtons::Ok);
}

void PowerTab::cboMonitor_Click() {
    powerCombo_Click(cboMonitor, key::Monitor, warningFor("monitor"));
}
void PowerTab::cboHD_Click() { powerCombo_Click(cboHD, key::HardDsk, warningFor("hard disk")); }
void PowerTab::cboStandy_Click() {
    powerCombo_Click(cboStandy, key::Standby, warningFor("STANDBY"));
}
void PowerTab::cboHibernate_Click() {
    powerCombo_Click(cboHibernate, key::Hibernate, warningFor("NIBERNATE"));
}

void PowerTab::loadTimes() {
    setComboText(cboMonitor, c_.settings.text(key::Monitor));
    setComboText(cboHD, c_.settings.text(key::HardDsk));
    setComboText(cboStandy, c_.settings.text(key::Standby));
    setComboText(cboHibernate, c_.settings.text(key::Hibernate));
    chkPower->setChecked(loadedCheck(c_.settings, key::Power));
}

void PowerTab::applyPowerSwitch() {
    if (!chkPower->isChecked()) enableCombos(false);
}

void PowerTab::warnAtLoad() {
    warnWhenAtDelay(cboMonitor, warningFor("monitor"));
    warnWhenAtDelay(cboHD, warningFor("hard disk"));
}

}  // namespace bw
