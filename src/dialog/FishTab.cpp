#include "dialog/FishTab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace bw {

namespace {

// The first animation frame of each fish species, in the order of the settings.
constexpr const char* kFishPictures[9] = {
    "fish\\1Angel1.bmp",  "fish\\1ClownFish1.bmp", "fish\\2butterfly1.bmp",
    "fish\\1MyFish1.bmp", "fish\\2MyFish1.bmp",    "fish\\3MyFish1.bmp",
    "fish\\4MyFish1.bmp", "fish\\Fisheat1.bmp",    "fish\\2Fisheat1.bmp",
};
constexpr QSize kPictureBox(76, 32);

}  // namespace

FishTab::FishTab(DialogContext& context, QWidget* parent) : QWidget(parent), c_(context) {
    // One row per creature under one pair of headings; the bars take the spare width.
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);
    grid->addWidget(new QLabel(QStringLiteral("Speed: Slow >>>>> Fast"), this), 0, 2, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Frequency: More >>>> Less"), this), 0, 5, 1, 2);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(5, 1);
    grid->setColumnMinimumWidth(4, 16);
    grid->setRowStretch(13, 1);
    for (int i = 0; i < 9; ++i) {
        const Row r = addRow(grid, i + 1, kFishPictures[i], key::ShowFish[i], key::FishSpeed[i],
                             key::FishFreq[i]);
        ChkFish[i] = r.show;
        HSBSpeed[i] = r.speed;
        txtSpeed[i] = r.speedEcho;
        hsbFreq[i] = r.freq;
        txtFreq[i] = r.freqEcho;
    }
    const Row dolphin =
        addRow(grid, 10, "fish\\Dolphin1.bmp", key::ShowDolphin, key::Dolphin, key::FreqDolphin);
    ChkDolphin = dolphin.show;
    HSBSpeedDolphin = dolphin.speed;
    txtSpeedDolphin = dolphin.speedEcho;
    hsbFreqDolphin = dolphin.freq;
    txtFreqDolphin = dolphin.freqEcho;
    const Row shark =
        addRow(grid, 11, "fish\\Shark1.bmp", key::ShowShark, key::Shark, key::FreqShark);
    ChkShark = shark.show;
    HSBSpeedShark = shark.speed;
    txtSpeedShark = shark.speedEcho;
    hsbFreqShark = shark.freq;
    txtFreqShark = shark.freqEcho;
    const Row turtle =
        addRow(grid, 12, "fish\\Turtle1.bmp", key::ShowTurtle, key::Turtle, key::FreqTurtle);
    ChkTurtle = turtle.show;
    HSBSpeedTurtle = turtle.speed;
    txtSpeedTurtle = turtle.speedEcho;
    hsbFreqTurtle = turtle.freq;
    txtFreqTurtle = turtle.freqEcho;
}

FishTab::Row FishTab::addRow(QGridLayout* grid, int row, const char* picture,
                             const SettingKey& show, const SettingKey& speed,
                             const SettingKey& freq) {
    Row r{};
    grid->addWidget(
        new PictureFrame(c_.installedFile(QString::fromLatin1(picture)), kPictureBox, this), row,
        0);
    r.show = optionCheck(QStringLiteral("Show"), c_.settings, show, this);
    r.speedEcho = echoBox(this);
    r.speed =
        optionBar(Qt::Horizontal, kSpeedMin, kSpeedMax, r.speedEcho, c_.settings, speed, this);
    r.freqEcho = echoBox(this);
    r.freq = optionBar(Qt::Horizontal, kFreqMin, kFreqMax, r.freqEcho, c_.settings, freq, this);
    r.speed->setMinimumWidth(60);
    r.freq->setMinimumWidth(60);
    grid->addWidget(r.show, row, 1);
    grid->addWidget(r.speed, row, 2);
    grid->addWidget(r.speedEcho, row, 3);
    grid->addWidget(r.freq, row, 5);
    grid->addWidget(r.freqEcho, row, 6);
    return r;
}

void FishTab::loadShow() {
    for (int i = 0; i < 9; ++i) ChkFish[i]->setChecked(loadedCheck(c_.settings, key::ShowFish[i]));
    ChkDolphin->setChecked(loadedCheck(c_.settings, key::ShowDolphin));
    ChkShark->setChecked(loadedCheck(c_.settings, key::ShowShark));
    ChkTurtle->setChecked(loadedCheck(c_.settings, key::ShowTurtle));
}

void FishTab::loadSpeeds() {
    auto load = [this](QScrollBar* bar, const SettingKey& key) {
        bar->setValue(loadedInteger(c_.settings, key, kSpeedMin, kSpeedMax));
    };
    for (int i = 0; i < 9; ++i) load(HSBSpeed[i], key::FishSpeed[i]);
    load(HSBSpeedDolphin, key::Dolphin);
    load(HSBSpeedShark, key::Shark);
    load(HSBSpeedTurtle, key::Turtle);
}

void FishTab::loadFrequencies() {
    auto load = [this](QScrollBar* bar, const SettingKey& key) {
        bar->setValue(loadedInteger(c_.settings, key, kFreqMin, kFreqMax));
    };
    for (int i = 0; i < 9; ++i) load(hsbFreq[i], key::FishFreq[i]);
    load(hsbFreqDolphin, key::FreqDolphin);
    load(hsbFreqShark, key::FreqShark);
    load(hsbFreqTurtle, key::FreqTurtle);
}

}  // namespace bw
