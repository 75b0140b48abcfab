#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QWidget>
#include <map>

#include "DialogRig.h"
#include "dialog/FishTab.h"
#include "dialog/MusicTab.h"
#include "dialog/PowerTab.h"
#include "dialog/SceneryTab.h"
#include "dialog/SettingsTab.h"
#include "dialog/WaterTab.h"

namespace bw {
namespace {

// The values each numeric option's control can hold.
std::map<QString, std::pair<int, int>> controlRanges() {
    std::map<QString, std::pair<int, int>> ranges{
        {"Bottom", {1, 6}},        {"CalPos", {0, 3}},      {"TunePC", {0, 40}},
        {"MouseSens", {2, 20}},    {"Volume", {-2500, 0}},  {"WaterType", {1, 2}},
        {"Dolphin", {1, 4}},       {"Shark", {1, 4}},       {"Turtle", {1, 4}},
        {"FreqDolphin", {25, 60}}, {"FreqShark", {25, 60}}, {"FreqTurtle", {25, 60}},
    };
    for (int n = 1; n <= 9; ++n) {
        ranges[QStringLiteral("FishSpeed%1").arg(n)] = {1, 4};
        ranges[QStringLiteral("FishFreq%1").arg(n)] = {25, 60};
    }
    return ranges;
}

// What loading may write for a missing key: the dialog's read default when the control can
// hold it, else the factory default.
QString expectedForMissing(const SettingKey& key) {
    const QString fallback = QString::fromLatin1(key.dialogDefault);
    const QString factory = QString::fromLatin1(key.factory);
    switch (key.form) {
        case ValueForm::CheckBox:
            return fallback == u"0" || fallback == u"1" ? fallback : factory;
        case ValueForm::TrueFalse:
            return fallback == u"True" || fallback == u"False" ? fallback : factory;
        case ValueForm::Integer: {
            const auto ranges = controlRanges();
            const auto range = ranges.find(QString::fromLatin1(key.name));
            if (range == ranges.end()) return fallback;
            bool ok = false;
            const int value = fallback.toInt(&ok);
            return ok && value >= range->second.first && value <= range->second.second ? fallback
                                                                                       : factory;
        }
        case ValueForm::Text:
            return fallback;
    }
    return fallback;
}

TEST_F(DialogTest, OpeningOnAStoreWithoutKeysWritesOnlyValuesTheControlsHold) {
    addWater("cool waters.bmp");
    open();
    ASSERT_FALSE(memory.writes().empty());
    for (const SettingWrite& w : memory.writes()) {
        const SettingKey* key = findKey(qPrintable(w.section), qPrintable(w.key));
        ASSERT_NE(key, nullptr) << w.key.toStdString();
        ASSERT_NE(key->dialogDefault, nullptr)
            << "the dialog does not read " << w.key.toStdString();
        EXPECT_EQ(w.value, expectedForMissing(*key))
            << w.section.toStdString() << "/" << w.key.toStdString();
    }
    // The defaults that do not fit, and some that do.
    EXPECT_EQ(stored(key::Volume), "-769");
    EXPECT_EQ(stored(key::MouseSens), "4");
    EXPECT_EQ(stored(key::TunePC), "1");
    EXPECT_EQ(stored(key::ShowFish[0]), "1");
    EXPECT_EQ(stored(key::FishFreq[6]), "44");
    EXPECT_EQ(stored(key::OBottom[0]), "True");
    EXPECT_EQ(stored(key::Message), "1");
    EXPECT_EQ(stored(key::Water), "");
    EXPECT_EQ(stored(key::CalPos), "1");
    EXPECT_EQ(stored(key::Bottom), "1");
    EXPECT_EQ(stored(key::Music), "<missing>");
    EXPECT_EQ(dialog->options->txtMouseS->text(), "4");
    EXPECT_EQ(dialog->options->vsbVolume->value(), -769);
    EXPECT_TRUE(dialog->options->optCal[1]->isChecked());
    EXPECT_TRUE(dialog->scenery->optBottom[0]->isChecked());
}

TEST_F(DialogTest, EveryCheckBoxWithReadDefaultOneIsTickedOnAStoreWithoutKeys) {
    addWater("cool waters.bmp");
    setup& d = open();
    int ticked = 0;
    for (const SettingKey* key : allKeys()) {
        if (key->form != ValueForm::CheckBox || !key->dialogDefault) continue;
        if (QString::fromLatin1(key->dialogDefault) != u"1") continue;
        EXPECT_EQ(stored(*key), "1") << key->name;
        ++ticked;
    }
    EXPECT_GT(ticked, 40);
    EXPECT_TRUE(d.options->chkFonts->isChecked());
    EXPECT_TRUE(d.options->chkPassword->isChecked());
    EXPECT_TRUE(d.power->chkPower->isChecked());
    EXPECT_TRUE(d.fish->ChkTurtle->isChecked());
    EXPECT_TRUE(d.options->chkFillWide->isChecked());
    EXPECT_EQ(d.findChildren<QCheckBox*>().size(),
              1 + 9 + 3 + 1 + 6 + 3 + 1 + 1 + 1 + 1 + 1 + 1 + 14 + 14 + 5 + 1 + 1);
}

TEST_F(DialogTest, APasswordThatCannotGuardTheDesktopIsNamedBesideIt) {
    addWater("cool waters.bmp");
    EXPECT_TRUE(open().options->lblCannotGuard->isHidden());
    dialog.reset();
    system.whyPasswordCannotGuard = QStringLiteral("This desktop offers no lock.");
    const QLabel* note = open().options->lblCannotGuard;
    EXPECT_FALSE(note->isHidden());
    EXPECT_EQ(note->text(), system.whyPasswordCannotGuard);
}

TEST_F(DialogTest, OpeningASecondTimeChangesNothing) {
    addWater("cool waters.bmp");
    open();
    dialog.reset();
    std::map<std::string, QString> before;
    for (const SettingKey* key : allKeys())
        before[std::string(key->section) + key->name] = stored(*key);
    memory.clearWrites();
    open();
    for (const SettingWrite& w : memory.writes()) {
        const SettingKey* key = findKey(qPrintable(w.section), qPrintable(w.key));
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(w.value, before[std::string(key->section) + key->name]) << key->name;
    }
}

TEST_F(DialogTest, OpeningOnTheFactorySettingsChangesNoValue) {
    addWater("cool waters.bmp");
    writeFactoryDefaults(memory);
    memory.clearWrites();
    setup& d = open();
    for (const SettingWrite& w : memory.writes()) {
        // The font is stored as this machine's list shows it.
        if (w.key == u"FontName" || w.key == u"SelectedFont") continue;
        const SettingKey* key = findKey(qPrintable(w.section), qPrintable(w.key));
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(w.value, QString::fromLatin1(key->factory)) << key->name;
    }
    EXPECT_EQ(d.water->cboWater->currentText(), "cool waters.bmp");
    EXPECT_TRUE(d.water->imgMain->isVisibleTo(d.water->picMain));
    EXPECT_TRUE(d.scenery->optBottom[3]->isChecked());
    EXPECT_EQ(d.fish->txtFreq[0]->text(), "32");
    EXPECT_EQ(d.fish->txtSpeed[7]->text(), "2");
    EXPECT_EQ(d.fish->txtSpeed[0]->text(), "1");
    EXPECT_EQ(d.power->cboMonitor->currentText(), "Never");
    EXPECT_FALSE(d.power->cboMonitor->isEnabled());
    EXPECT_EQ(d.options->txtMessage->text(), "Place Message Here");
    EXPECT_EQ(d.options->cboSoundOff->currentText(), "Never");
    EXPECT_TRUE(d.scenery->chkOBottom[0]->isChecked());
    EXPECT_FALSE(d.scenery->chkOBottom[1]->isChecked());
    EXPECT_TRUE(system.messages().empty()) << messageTexts().join("|").toStdString();
}

TEST_F(DialogTest, StoredValuesOutsideTheControlsTakeTheFactoryDefault) {
    addWater("a.bmp");
    store(key::CalPos, "7");
    store(key::Bottom, "0");
    store(key::FishFreq[4], "99");
    store(key::ShowShark, "maybe");
    store(key::WaterType, "3");
    setup& d = open();
    EXPECT_TRUE(d.options->optCal[0]->isChecked());
    EXPECT_EQ(stored(key::CalPos), "0");
    EXPECT_TRUE(d.scenery->optBottom[3]->isChecked());
    EXPECT_EQ(stored(key::Bottom), "4");
    EXPECT_EQ(d.fish->hsbFreq[4]->value(), 34);
    EXPECT_EQ(stored(key::FishFreq[4]), "34");
    EXPECT_TRUE(d.fish->ChkShark->isChecked());
    EXPECT_TRUE(d.water->optWater[0]->isChecked());
    EXPECT_EQ(stored(key::WaterType), "1");
}

TEST_F(DialogTest, FillWideBoxShowsTheStoredSwitch) {
    addWater("a.bmp");
    const struct {
        const char* stored;
        bool ticked;
        const char* storedAfter;  // a number the box cannot show takes the factory default
    } cases[] = {{"0", false, "0"}, {"1", true, "1"}, {"2", true, "1"}};
    for (const auto& c : cases) {
        store(key::FillWide, c.stored);
        setup& d = open();
        EXPECT_EQ(d.options->chkFillWide->isChecked(), c.ticked) << c.stored;
        EXPECT_EQ(stored(key::FillWide), c.storedAfter) << c.stored;
    }
}

TEST_F(DialogTest, ScreenSaverDelayTextAndTheLoadingWarnings) {
    const QString monitorWarning = QStringLiteral(
        "You have your screensaver set to come on exactly when the monitor is set to shut off. "
        "Please change one of them.");
    const QString diskWarning = QStringLiteral(
        "You have your screensaver set to come on exactly when the hard disk is set to shut off. "
        "Please change one of them.");
    const struct {
        int seconds;
        const char* power;
        const char* monitor;
        const char* disk;
        const char* shown;
        QStringList warnings;
    } cases[] = {
        {600, "1", "10 Minutes", "Never", "10 Minutes", {monitorWarning}},
        {600, "1", "10 Minutes", "10 Minutes", "10 Minutes", {monitorWarning, diskWarning}},
        {600, "0", "10 Minutes", "10 Minutes", "10 Minutes", {}},
        {90, "1", "1 Minute", "Never", "1.5 Minutes", {}},
        {60, "1", "1 Minute", "Never", "1 Minutes", {}},
        {100, "1", "Never", "Never", "1.66666666666667 Minutes", {}},
        {0, "1", "Never", "Never", "0 Minutes", {}},
    };
    addWater("a.bmp");
    for (const auto& c : cases) {
        system.setScreenSaveTimeOut(c.seconds);
        store(key::Power, c.power);
        store(key::Monitor, c.monitor);
        store(key::HardDsk, c.disk);
        const size_t before = system.messages().size();
        setup& d = open();
        EXPECT_EQ(d.power->lblSStime->text(), c.shown) << c.seconds;
        EXPECT_EQ(d.power->SSTime, c.shown);
        QStringList shown;
        for (size_t i = before; i < system.messages().size(); ++i) {
            shown << system.messages()[i].text;
            EXPECT_EQ(system.messages()[i].title, "WARNING!");
            EXPECT_EQ(system.messages()[i].icon, MessageIcon::Exclamation);
        }
        EXPECT_EQ(shown, c.warnings) << c.seconds << " " << c.monitor;
    }
}

TEST_F(DialogTest, MinuteCombosShowNeverForZero) {
    addWater("a.bmp");
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = {{"0", "Never"}, {"15", "15"}, {"", "Never"}, {"480", "480"}};
    for (const auto& c : cases) {
        store(key::MusicOff, c.stored);
        store(key::SoundOff, c.stored);
        setup& d = open();
        EXPECT_EQ(d.music->cboMusic->currentText(), c.shown) << c.stored;
        EXPECT_EQ(d.options->cboSoundOff->currentText(), c.shown) << c.stored;
    }
}

TEST_F(DialogTest, FontListStaysEmptyWhileFontsAreSwitchedOff) {
    addWater("a.bmp");
    store(key::CheckFont, "1");
    setup& d = open();
    EXPECT_EQ(d.options->cboFontsScreen->count(), 0);
    EXPECT_FALSE(d.options->cboFontsScreen->isEnabled());
    EXPECT_EQ(stored(key::FontName), "<missing>");
}

TEST_F(DialogTest, FontListHoldsEveryFontAndTheStoredChoice) {
    QStringList fonts;
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family)) fonts << family;
    if (fonts.size() < 2) GTEST_SKIP() << "needs two fonts";
    addWater("a.bmp");
    store(key::CheckFont, "0");
    store(key::SelectedFont, "0");
    store(key::FontName, fonts.last());
    setup& d = open();
    QComboBox* combo = d.options->cboFontsScreen;
    EXPECT_TRUE(combo->isEnabled());
    EXPECT_EQ(combo->count(), fonts.size());
    EXPECT_EQ(d.options->FontCount, fonts.size() - 1);
    // The name wins over the position, and both are stored.
    EXPECT_EQ(combo->currentText(), fonts.last());
    EXPECT_EQ(stored(key::SelectedFont), QString::number(fonts.size() - 1));
    EXPECT_EQ(stored(key::FontName), fonts.last());

    // Switching the list off and on again lists every font once.
    d.options->chkFonts->setChecked(true);
    EXPECT_FALSE(combo->isEnabled());
    EXPECT_EQ(stored(key::CheckFont), "1");
    d.options->chkFonts->setChecked(false);
    EXPECT_EQ(combo->count(), fonts.size());
    EXPECT_EQ(stored(key::CheckFont), "0");

    choose(combo, fonts.first());
    EXPECT_EQ(stored(key::SelectedFont), "0");
    EXPECT_EQ(stored(key::FontName), fonts.first());
}

TEST_F(DialogTest, NoWaterPicturesIsReportedOnce) {
    setup& d = open();
    ASSERT_EQ(system.messages().size(), 1u);
    EXPECT_EQ(system.messages()[0].title, "Need BMP files");
    EXPECT_TRUE(system.messages()[0].text.startsWith(
        "You need to put BMPs in the folder for the water background \n"));
    EXPECT_EQ(d.water->cboWater->count(), 0);
    EXPECT_FALSE(d.water->imgMain->isVisibleTo(d.water->picMain));
}

TEST_F(DialogTest, WaterListJoinsTheUsersOwnPictures) {
    addWater("b.bmp");
    addWater("A.BMP");
    addWater("notes.txt");
    QDir().mkpath(temp.filePath("user/Water"));
    QImage own(QSize(8, 8), QImage::Format_RGB32);
    own.fill(Qt::blue);
    ASSERT_TRUE(own.save(temp.filePath("user/Water/mine.bmp"), "BMP"));
    ASSERT_TRUE(own.save(temp.filePath("user/Water/b.bmp"), "BMP"));
    setup& d = open();
    QStringList listed;
    for (int i = 0; i < d.water->cboWater->count(); ++i) listed << d.water->cboWater->itemText(i);
    EXPECT_EQ(listed, QStringList({"A.BMP", "b.bmp", "mine.bmp"}));
    choose(d.water->cboWater, "mine.bmp");
    EXPECT_EQ(stored(key::Water), "mine.bmp");
    EXPECT_TRUE(d.water->imgMain->isVisibleTo(d.water->picMain));
    EXPECT_EQ(d.water->imgMain->size(), QSize(8, 8));
}

TEST_F(DialogTest, PreviewIsCentredAndSqueezedToTheArea) {
    addWater("wide.bmp", {400, 100});
    addWater("small.bmp", {200, 150});
    addWater("tall.bmp", {100, 1000});
    setup& d = open();
    const QSize area = d.water->picMain->size();
    const struct {
        const char* name;
        QSize shown;
    } cases[] = {{"wide.bmp", {std::min(400, area.width()), 100}},
                 {"small.bmp", {200, 150}},
                 {"tall.bmp", {100, std::min(1000, area.height())}}};
    for (const auto& c : cases) {
        choose(d.water->cboWater, c.name);
        const QRect r = d.water->imgMain->geometry();
        EXPECT_EQ(r.size(), c.shown) << c.name;
        EXPECT_EQ(r.left(), area.width() / 2 - c.shown.width() / 2) << c.name;
        EXPECT_EQ(r.top(), area.height() / 2 - c.shown.height() / 2) << c.name;
        EXPECT_TRUE(d.water->imgMain->isVisibleTo(d.water->picMain));
    }
    // A name that is no picture leaves the area empty.
    d.water->cboWater->setEditText("gone.bmp");
    d.water->cboWater_Click();
    EXPECT_FALSE(d.water->imgMain->isVisibleTo(d.water->picMain));
    EXPECT_EQ(stored(key::Water), "gone.bmp");
}

TEST_F(DialogTest, DefaultSizeFitsASmallScreenAndEveryTabIsThere) {
    addWater("a.bmp");
    setup& d = open();
    EXPECT_LE(d.width(), 800);
    EXPECT_LE(d.height(), 600);
    QStringList tabs;
    for (int i = 0; i < d.SSTab1->count(); ++i) tabs << d.SSTab1->tabText(i);
    EXPECT_EQ(tabs, QStringList({"Water", "Fish", "Scenery", "Settings", "Artifacts", "Plants",
                                 "Tune Saver", "Power Mgmt", "Music"}));
    EXPECT_EQ(d.windowTitle(), "Brinewave Control Box   www.orvanta.example");
}

}  // namespace
}  // namespace bw
