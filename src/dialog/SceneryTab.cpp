#include "dialog/SceneryTab.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace bw {

namespace {
constexpr int kWalls = 6;
}  // namespace

SceneryTab::SceneryTab(DialogContext& context, QWidget* parent) : QWidget(parent), c_(context) {
    auto* fishFrame = new QGroupBox(QStringLiteral("Background Fish"), this);
    chkColorFish = optionCheck(QStringLiteral("Show Fish"), c_.settings, key::ColorFish, fishFrame);
    (new QVBoxLayout(fishFrame))->addWidget(chkColorFish);

    auto* bottomsFrame = new QGroupBox(QStringLiteral("Ocean Type Bottoms"), this);
    auto* bottoms = new QVBoxLayout(bottomsFrame);
    for (int i = 0; i < 6; ++i) {
        chkOBottom[i] = new QCheckBox(QStringLiteral("Ocean Bottom %1").arg(i + 1), bottomsFrame);
        bottoms->addWidget(chkOBottom[i]);
        connect(chkOBottom[i], &QCheckBox::toggled, this, [this, i] { chkOBottom_Click(i); });
    }

    auto* wallFrame = new QGroupBox(QStringLiteral("Background Wall"), this);
    auto* walls = new QVBoxLayout(wallFrame);
    const char* captions[kWalls] = {"Brick", "Stone", "Pebble",
                                    "Rock",  "Sea",   "Do Not Show Any Of These"};
    auto* wallGroup = new QButtonGroup(this);
    for (int i = 0; i < kWalls; ++i) {
        optBottom[i] = new QRadioButton(QString::fromLatin1(captions[i]), wallFrame);
        wallGroup->addButton(optBottom[i], i);
    }
    // Top to bottom: Brick, Rock, Pebble, Sea, Stone, none.
    for (int i : {0, 3, 2, 4, 1, 5}) walls->addWidget(optBottom[i]);
    connect(wallGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) optBottom_Click(id);
    });

    auto* moundFrame = new QGroupBox(QStringLiteral("Background Mounds"), this);
    chkBGCliffsLeft =
        optionCheck(QStringLiteral("Left Side"), c_.settings, key::BGRocksLeft, moundFrame);
    chkBGCliffsCenter =
        optionCheck(QStringLiteral("Center"), c_.settings, key::BGRocksCenter, moundFrame);
    chkBGCliffsRight =
        optionCheck(QStringLiteral("Right Side"), c_.settings, key::BGRocksRight, moundFrame);
    auto* mounds = new QVBoxLayout(moundFrame);
    for (QCheckBox* box : {chkBGCliffsLeft, chkBGCliffsCenter, chkBGCliffsRight})
        mounds->addWidget(box);

    auto* grid = new QGridLayout;
    grid->addWidget(fishFrame, 0, 0);
    grid->addWidget(moundFrame, 1, 0);
    grid->addWidget(bottomsFrame, 0, 1, 2, 1);
    grid->addWidget(wallFrame, 0, 2, 2, 1);
    grid->setRowStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(note(
        QStringLiteral(" To position these objects, run the screensaver and press the \"X\" key "
                       "on your keyboard.    The screensaver will enter the CUSTOM MODE where you "
                       "can click an object and move it to your desired location."),
        this));
    layout->addStretch();
}

void SceneryTab::chkOBottom_Click(int index) {
    c_.settings.writeTrueFalse(key::OBottom[index], chkOBottom[index]->isChecked());
}

void SceneryTab::optBottom_Click(int index) {
    BottomChoice = static_cast<int16_t>(index + 1);
    c_.settings.writeInteger(key::Bottom, BottomChoice);
}

void SceneryTab::loadBottom() {
    BottomChoice = static_cast<int16_t>(loadedInteger(c_.settings, key::Bottom, 1, kWalls));
    optBottom[BottomChoice - 1]->setChecked(true);
}

void SceneryTab::loadOceanBottoms() {
    for (int i = 0; i < 6; ++i)
        chkOBottom[i]->setChecked(loadedCheck(c_.settings, key::OBottom[i]));
}

void SceneryTab::loadMounds() {
    chkBGCliffsLeft->setChecked(loadedCheck(c_.settings, key::BGRocksLeft));
    chkBGCliffsCenter->setChecked(loadedCheck(c_.settings, key::BGRocksCenter));
    chkBGCliffsRight->setChecked(loadedCheck(c_.settings, key::BGRocksRight));
}

void SceneryTab::loadColorFish() {
    chkColorFish->setChecked(loadedCheck(c_.settings, key::ColorFish));
}

}  // namespace bw
