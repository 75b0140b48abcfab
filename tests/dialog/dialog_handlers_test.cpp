#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include "DialogRig.h"
#include "settings/Product.h"
#include "dialog/FishTab.h"
#include "dialog/MusicTab.h"
#include "dialog/PowerTab.h"
#include "dialog/SceneryTab.h"
#include "dialog/SettingsTab.h"
#include "dialog/TuneTab.h"
#include "dialog/WaterTab.h"
#include "security/frmChangePassWord.h"

namespace bw {
namespace {

class HandlerTest : public DialogTest {
  protected:
    HandlerTest() {
        addWater("cool waters.bmp");
        addWater("deep.bmp");
        writeFactoryDefaults(memory);
    }
    // Opens on the factory settings with power management on and a 10-minute system delay.
    setup& openWithPower() {
        store(key::Power, "1");
        system.setScreenSaveTimeOut(600);
        setup& d = open();
        memory.clearWrites();
        return d;
    }
};

TEST_F(HandlerTest, AllFourPowerTimesNeverSwitchesPowerManagementOff) {
    store(key::Hibernate, "5 Minutes");
    setup& d = openWithPower();
    ASSERT_TRUE(d.power->chkPower->isChecked());
    choose(d.power->cboHibernate, "Never");
    EXPECT_EQ(stored(key::Hibernate), "Never");
    EXPECT_FALSE(d.power->chkPower->isChecked());
    EXPECT_EQ(stored(key::Power), "0");
    for (QComboBox* combo :
         {d.power->cboMonitor, d.power->cboHD, d.power->cboStandy, d.power->cboHibernate})
        EXPECT_FALSE(combo->isEnabled());
    EXPECT_TRUE(system.messages().empty());
}

TEST_F(HandlerTest, PowerSwitchEnablesTheCombos) {
    setup& d = open();
    ASSERT_FALSE(d.power->cboHD->isEnabled());
    d.power->chkPower->setChecked(true);
    EXPECT_EQ(stored(key::Power), "1");
    EXPECT_TRUE(d.power->cboHD->isEnabled());
    d.power->chkPower->setChecked(false);
    EXPECT_EQ(stored(key::Power), "0");
    EXPECT_FALSE(d.power->cboStandy->isEnabled());
}

TEST_F(HandlerTest, ShortPowerTimesAreWrittenThenQuestioned) {
    setup& d = openWithPower();
    QString storedWhenAsked;
    system.messageHandler = [&](const FakeSystemLayer::Message&) {
        storedWhenAsked = stored(key::Monitor);
        return MessageAnswer::Ok;
    };
    choose(d.power->cboMonitor, "2 Minutes");
    ASSERT_EQ(system.messages().size(), 1u);
    const auto& box = system.messages()[0];
    EXPECT_EQ(box.title, "WHY?");
    EXPECT_EQ(box.icon, MessageIcon::Exclamation);
    EXPECT_EQ(box.text,
              "Why would you use a screensaver for only 2 Minutes. If you want to use "
              "Power Management set it to at least 5 minutes");
    EXPECT_EQ(storedWhenAsked, "2 Minutes");
    EXPECT_EQ(stored(key::Monitor), "2 Minutes");

    choose(d.power->cboStandy, "5 Minutes");
    EXPECT_EQ(system.messages().size(), 1u);
    EXPECT_EQ(stored(key::Standby), "5 Minutes");
}

TEST_F(HandlerTest, PowerTimeAtTheSystemDelayWarns) {
    const struct {
        QComboBox* PowerTab::*combo;
        const SettingKey& key;
        const char* device;
    } cases[] = {{&PowerTab::cboMonitor, key::Monitor, "monitor"},
                 {&PowerTab::cboHD, key::HardDsk, "hard disk"},
                 {&PowerTab::cboStandy, key::Standby, "STANDBY"},
                 {&PowerTab::cboHibernate, key::Hibernate, "NIBERNATE"}};
    setup& d = openWithPower();
    for (const auto& c : cases) {
        system.clearCalls();
        const size_t before = system.messages().size();
        choose(d.power->*c.combo, "10 Minutes");
        ASSERT_EQ(system.messages().size(), before + 1) << c.device;
        const auto& box = system.messages().back();
        EXPECT_EQ(box.title, "WARNING!");
        EXPECT_EQ(box.text, QStringLiteral("You have your screensaver set to come on exactly when "
                                           "the %1 is set to shut off. Please change one of them.")
                                .arg(c.device));
        EXPECT_EQ(stored(c.key), "10 Minutes");
    }
    // Without power management the same choice is not questioned.
    d.power->chkPower->setChecked(false);
    d.power->cboHD->setEnabled(true);
    const size_t before = system.messages().size();
    choose(d.power->cboHD, "10 Minutes");
    EXPECT_EQ(system.messages().size(), before);
}

TEST_F(HandlerTest, BlackWaterForgetsThePictureAndImageWritesItBack) {
    setup& d = open();
    choose(d.water->cboWater, "deep.bmp");
    d.water->optWater[1]->setChecked(true);
    EXPECT_EQ(stored(key::Water), "");
    EXPECT_EQ(stored(key::WaterType), "2");
    EXPECT_FALSE(d.water->imgMain->isVisibleTo(d.water->picMain));
    EXPECT_EQ(d.water->picMain->palette().color(QPalette::Window), QColor(Qt::black));
    d.water->optWater[0]->setChecked(true);
    EXPECT_EQ(stored(key::Water), "deep.bmp");
    EXPECT_EQ(stored(key::WaterType), "1");
    EXPECT_EQ(d.water->WaterTypeChoice, 1);
    EXPECT_TRUE(d.water->imgMain->isVisibleTo(d.water->picMain));
}

TEST_F(HandlerTest, ChoosingAPictureKeepsTheWaterStyle) {
    store(key::WaterType, "2");
    setup& d = open();
    choose(d.water->cboWater, "deep.bmp");
    EXPECT_EQ(stored(key::Water), "deep.bmp");
    EXPECT_EQ(stored(key::WaterType), "2");
    // Typing a name is not a choice.
    d.water->cboWater->setEditText("typed.bmp");
    EXPECT_EQ(stored(key::Water), "deep.bmp");
}

TEST_F(HandlerTest, OceanBottomsAreStoredAsTrueOrFalse) {
    setup& d = open();
    d.scenery->chkOBottom[2]->setChecked(true);
    EXPECT_EQ(stored(key::OBottom[2]), "True");
    d.scenery->chkOBottom[0]->setChecked(false);
    EXPECT_EQ(stored(key::OBottom[0]), "False");
}

TEST_F(HandlerTest, OptionGroupsStoreTheirPosition) {
    setup& d = open();
    const struct {
        int button;
        const char* value;
    } walls[] = {{0, "1"}, {1, "2"}, {4, "5"}, {5, "6"}};
    for (const auto& w : walls) {
        d.scenery->optBottom[w.button]->setChecked(true);
        EXPECT_EQ(stored(key::Bottom), w.value);
    }
    for (int corner = 3; corner >= 0; --corner) {
        d.options->optCal[corner]->setChecked(true);
        EXPECT_EQ(stored(key::CalPos), QString::number(corner));
        EXPECT_EQ(d.options->CalPosChoice, corner);
    }
}

TEST_F(HandlerTest, DraggingABarWritesAsItGoes) {
    setup& d = open();
    QScrollBar* bar = d.fish->hsbFreq[4];
    bar->setSliderDown(true);
    bar->setSliderPosition(40);
    EXPECT_EQ(stored(key::FishFreq[4]), "40");
    EXPECT_EQ(d.fish->txtFreq[4]->text(), "40");
    bar->setSliderDown(false);

    d.tune->hsbTunePC->setValue(12);
    EXPECT_EQ(stored(key::TunePC), "12");
    EXPECT_EQ(d.tune->txtTunePC->text(), "12");
    EXPECT_EQ(d.tune->TuneValue, 12);
    d.options->hsbMouseS->setValue(20);
    EXPECT_EQ(stored(key::MouseSens), "20");
    EXPECT_EQ(d.options->MouseValue, 20);
    d.fish->HSBSpeedTurtle->setValue(4);
    EXPECT_EQ(stored(key::Turtle), "4");
    EXPECT_EQ(d.fish->txtSpeedTurtle->text(), "4");
}

TEST_F(HandlerTest, VolumeIsWrittenOnceItSettles) {
    setup& d = open();
    QScrollBar* volume = d.options->vsbVolume;
    volume->setSliderDown(true);
    volume->setSliderPosition(-2000);
    EXPECT_EQ(stored(key::Volume), "-769");
    volume->setSliderDown(false);
    EXPECT_EQ(stored(key::Volume), "-2000");
}

TEST_F(HandlerTest, MinuteCombosStoreZeroForNever) {
    setup& d = open();
    choose(d.music->cboMusic, "45");
    EXPECT_EQ(stored(key::MusicOff), "45");
    choose(d.music->cboMusic, "Never");
    EXPECT_EQ(stored(key::MusicOff), "0");
    choose(d.options->cboSoundOff, "480");
    EXPECT_EQ(stored(key::SoundOff), "480");
    choose(d.options->cboSoundOff, "Never");
    EXPECT_EQ(stored(key::SoundOff), "0");
}

TEST_F(HandlerTest, TextBoxesWriteEveryChangeAsTyped) {
    setup& d = open();
    d.options->txtMessage->setText("Hello fish");
    EXPECT_EQ(stored(key::Message), "Hello fish");
    d.options->txtFontSizeMsg->setText("big");
    EXPECT_EQ(stored(key::FontSizeMsg), "big");
}

TEST_F(HandlerTest, CheckBoxesWriteOneOrZero) {
    setup& d = open();
    const struct {
        QCheckBox* box;
        const SettingKey& key;
    } boxes[] = {{d.fish->ChkFish[8], key::ShowFish[8]},
                 {d.fish->ChkDolphin, key::ShowDolphin},
                 {d.music->chkPlayMusic, key::Music},
                 {d.options->chkCalendar, key::Calendar},
                 {d.scenery->chkBGCliffsCenter, key::BGRocksCenter},
                 {d.options->chkPassword, key::PWEnabled},
                 {d.options->chkFillWide, key::FillWide}};
    for (const auto& b : boxes) {
        b.box->setChecked(!b.box->isChecked());
        EXPECT_EQ(stored(b.key), b.box->isChecked() ? "1" : "0") << b.key.name;
        b.box->setChecked(!b.box->isChecked());
        EXPECT_EQ(stored(b.key), b.box->isChecked() ? "1" : "0") << b.key.name;
    }
}

TEST_F(HandlerTest, DoubleClickOnTheWebAddressShowsThePassword) {
    store(key::Password, "Secret");
    setup& d = open();
    const QPoint centre = d.options->Label67->rect().center();
    QMouseEvent click(QEvent::MouseButtonDblClick, centre, d.options->Label67->mapToGlobal(centre),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(d.options->Label67, &click);
    ASSERT_EQ(system.messages().size(), 1u);
    EXPECT_EQ(system.messages()[0].text, "Secret");
    EXPECT_EQ(system.messages()[0].title, "Your Password");
    EXPECT_EQ(system.messages()[0].icon, MessageIcon::Information);
    EXPECT_EQ(d.options->Label67->text(), "www.orvanta.example");
}

TEST_F(HandlerTest, ChangeOpensThePasswordDialogOwnedByTheSettings) {
    setup& d = open();
    d.show();
    frmChangePassWord* opened = nullptr;
    QTimer::singleShot(0, [&] {
        opened = qobject_cast<frmChangePassWord*>(QApplication::activeModalWidget());
        if (opened)
            opened->cmdCancel->click();
        else if (QWidget* other = QApplication::activeModalWidget())
            other->close();
    });
    d.options->cmdChangePassword->click();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(stored(key::Password), "");
}

TEST_F(HandlerTest, SystemLinks) {
    setup& d = open();
    system.setStartProgramResult(false);
    system.clearCalls();
    d.water->cmdColor->click();
    d.power->cmdSeePM->click();
    d.power->cmdPMHelp->click();
    d.Command2->click();
    d.cmdWebsite->click();
    const QString data = temp.filePath("data");
    EXPECT_EQ(system.calls(),
              QStringList(
                  {"RunControlPanel(rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,3)",
                   "RunControlPanel(rundll32.exe shell32.dll,Control_RunDLL powercfg.cpl,,1)",
                   "ShellOpen(" + data + "/power_help.htm)", "StartProgram(" + data + "/Help/Help)",
                   "ShellOpen(https://www.orvanta.example)"}));
    EXPECT_TRUE(system.messages().empty());

    d.cmdAbout->click();
    ASSERT_EQ(system.messages().size(), 1u);
    EXPECT_TRUE(system.messages()[0].text.contains("Brinewave3"));
    EXPECT_TRUE(system.messages()[0].text.contains(QString("Version ") + kProductVersion));
    EXPECT_EQ(system.messages()[0].icon, MessageIcon::Information);
}

TEST_F(HandlerTest, FactoryResetWritesEveryDefaultAndLeavesTheControls) {
    setup& d = open();
    d.fish->hsbFreq[0]->setValue(50);
    store(key::Password, "Secret");
    d.water->cmdFactory->click();
    for (const SettingKey* key : allKeys()) EXPECT_EQ(stored(*key), key->factory) << key->name;
    ASSERT_EQ(system.messages().size(), 1u);
    EXPECT_EQ(system.messages()[0].text, "The factory settings have been restored");
    EXPECT_EQ(system.messages()[0].title, "Reset to factory settings");
    EXPECT_EQ(d.fish->hsbFreq[0]->value(), 50);
}

}  // namespace
}  // namespace bw
